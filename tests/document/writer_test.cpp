// Writing the document as XHTML: the cases of tests/data/writer/cases.txt
// (every output mode, the frame, the head, the generator comment, the
// selection), the cap on the tidy pass's merging rounds, and the generator
// comment kept well-formed whatever the product name holds.

#include "document/WriterTidy.h"
#include "document/XDoc.h"

#include "base/xml/XmlLoad.h"
#include "element/Element.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/FixedClock.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/document/support/ShownMarkup.h"
#include "tests/document/support/WrittenDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using qmtest::FromUtf8;
using qmtest::ShownMarkup;
using qmtest::ToUtf8;

std::string OptionValue(const qmtest::CaseBlock& c, const std::string& name, const std::string& otherwise)
{
    for (const std::string& o : c.options) {
        if (o.rfind(name + "=", 0) == 0)
            return o.substr(name.size() + 1);
    }
    return otherwise;
}

// The case's input lines that set a field ("html: ..."), taken out of the
// markup; the rest is the body markup.
struct CaseInput
{
    std::string html, headTag, head, style, rules, markup;
};

CaseInput SplitInput(const std::string& input)
{
    CaseInput in;
    const std::vector<std::pair<std::string, std::string*>> fields = {{"html: ", &in.html},
        {"head-tag: ", &in.headTag}, {"head: ", &in.head}, {"style: ", &in.style}, {"rules: ", &in.rules}};
    size_t start = 0;
    while (start <= input.size()) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        const std::string line = input.substr(start, end - start);
        bool field = false;
        for (const auto& [prefix, target] : fields) {
            if (line.rfind(prefix, 0) == 0) {
                *target = line.substr(prefix.size());
                field = true;
            }
        }
        if (!field)
            in.markup += (in.markup.empty() ? "" : "\n") + line;
        start = end + 1;
    }
    return in;
}

TEST(WriterCases, ModesFramesAndSelection)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("writer-home-")));
    qmtest::FixedLocalTime clock(qmtest::LocalTime(2026, 1, 2, 3, 4, 5));
    qmtest::CaseBlockFile file("writer/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        qmtest::WrittenDocument written;
        CXDoc& doc = written.Doc();
        CMorvaXEditorCtrl& control = written.Control();
        control.EnableTimestamp = c.HasOption("timestamp") ? 1 : 0;
        control.Dir = FromUtf8(OptionValue(c, "dir", "ltr"));
        control.ProductName = FromUtf8(OptionValue(c, "name", "Quillmark"));
        std::string namespaces = OptionValue(c, "namespaces", "");
        for (char& ch : namespaces)
            ch = ch == '_' ? ' ' : ch;
        control.Namespaces = FromUtf8(namespaces);
        doc.m_versionText = FromUtf8(OptionValue(c, "version", "1.2.3"));
        doc.m_baseURL = FromUtf8(OptionValue(c, "base", ""));

        const CaseInput in = SplitInput(c.input);
        if (!in.rules.empty()) {
            ASSERT_TRUE(doc.LoadStyleClass(FromUtf8(in.rules), 0, false, 0)) << c.name;
        }
        ASSERT_TRUE(written.Read(in.markup)) << c.name;
        if (doc.m_fullDocument)
            doc.m_htmlStartTag = FromUtf8(in.html.empty() ? "<html>" : in.html);
        doc.m_headStartTag = FromUtf8(in.headTag.empty() ? "<head>" : in.headTag);
        doc.m_headMarkup = FromUtf8(in.head);
        doc.m_styleMarkup = FromUtf8(in.style);
        doc.m_sheetPlace = std::stoi(OptionValue(c, "style-at", "-1"));

        const int mode = std::stoi(OptionValue(c, "mode", "6"));
        CSafeBuf out("stale");
        if (c.HasOption("selection"))
            doc.GetSelectionCode(out, mode);
        else
            doc.GetSourceCode(out, mode, c.HasOption("tidy"));
        file.Check(c, ShownMarkup(out));
    }
}

// A tree whose merging reports a change a given number of times (or
// always, for -1), recording the passes run.
struct ScriptedTree
{
    int changes = -1;
    int combined = 0;
    std::vector<std::string> passes;

    bool RemoveEmptyTag(int) { return Record("RemoveEmptyTag"); }
    bool RemoveTagWithoutAttr(int) { return Record("RemoveTagWithoutAttr"); }
    int brMoves = 0;

    void MoveBrInside()
    {
        if (brMoves++ == 0)
            Record("MoveBrInside");
    }
    bool CombineTag()
    {
        if (passes.empty() || passes.back() != "CombineTag")
            Record("CombineTag");
        ++combined;
        return changes < 0 || combined <= changes;
    }
    void FinalClean(bool) { Record("FinalClean"); }
    void ValidateDoc() { Record("ValidateDoc"); }
    bool Record(const char* pass)
    {
        passes.push_back(pass);
        return false;
    }
};

TEST(WriterTidy, MergingThatNeverSettlesStopsAfterTheLimit)
{
    ScriptedTree tree;
    EXPECT_EQ(RunWriterTidyPasses(tree), 1000);
    EXPECT_EQ(tree.combined, 1000);
    EXPECT_EQ(tree.brMoves, 1000);
    const std::vector<std::string> order = {
        "RemoveEmptyTag", "RemoveTagWithoutAttr", "MoveBrInside", "CombineTag", "FinalClean", "ValidateDoc"};
    EXPECT_EQ(tree.passes, order);
}

TEST(WriterTidy, MergingRunsUntilNothingChanges)
{
    ScriptedTree tree;
    tree.changes = 3;
    EXPECT_EQ(RunWriterTidyPasses(tree), 4) << "three rounds that changed something and one that did not";
    EXPECT_EQ(tree.brMoves, 4) << "line breaks move first and after every round that changed something";
}

// The generator comment of a document written with the timestamp on.
std::string CommentFor(const std::string& productName, const std::string& version)
{
    qmtest::TempHome home;
    EXPECT_TRUE(home.Create(qmtest::TestOutputPath("writer-comment-")));
    qmtest::FixedLocalTime clock(qmtest::LocalTime(2026, 1, 2, 3, 4, 5));
    qmtest::WrittenDocument written;
    written.Control().EnableTimestamp = 1;
    written.Control().ProductName = FromUtf8(productName);
    written.Doc().m_versionText = FromUtf8(version);
    EXPECT_TRUE(written.Read("<p>x</p>"));
    CSafeBuf out;
    written.Doc().GetSourceCode(out, 2, true);
    // The comment must not end the markup's reading: the whole text, put in
    // an element, reads as XML with the comment and the paragraph.
    CSafeBuf wrapped("<r>");
    wrapped += out;
    wrapped += "</r>";
    CSafeBuf error;
    xmlDoc* parsed = LoadXMLString(wrapped, &error);
    EXPECT_NE(parsed, nullptr) << ToUtf8(out) << ": " << ToUtf8(error);
    if (parsed)
        XMLReleaseDom(parsed);
    const std::string text = ToUtf8(out);
    EXPECT_EQ(text.substr(text.find("-->")), "--><p>x</p>") << text;
    return text.substr(0, text.find("-->") + 3);
}

TEST(WriterComment, StaysWellFormedWhateverTheNameHolds)
{
    EXPECT_EQ(CommentFor("Quillmark", "1.2.3"),
        "<!-- Generated by Quillmark version 1.2.3 on 2026-01-02T03:04:05 -->");
    EXPECT_EQ(
        CommentFor("a--b", "1.2.3"), "<!-- Generated by a- -b version 1.2.3 on 2026-01-02T03:04:05 -->");
    EXPECT_EQ(CommentFor("x-->y<&", "1--"),
        "<!-- Generated by x- -&gt;y&lt;&amp; version 1- - on 2026-01-02T03:04:05 -->");
    EXPECT_EQ(CommentFor("----", "-"), "<!-- Generated by - - - - version - on 2026-01-02T03:04:05 -->");
    EXPECT_EQ(CommentFor("", ""), "<!-- Generated by  version  on 2026-01-02T03:04:05 -->");
}

// A text run holding U+0001, which markup cannot carry: the tidy pass
// cannot read what the element writer wrote.
std::string WrittenWithControlCharacter(const std::string& markup, int mode)
{
    qmtest::TempHome home;
    EXPECT_TRUE(home.Create(qmtest::TestOutputPath("writer-unreadable-")));
    qmtest::WrittenDocument written;
    written.Control().EnableTimestamp = 0;
    EXPECT_TRUE(written.Read(markup));
    if (written.Doc().m_fullDocument)
        written.Doc().m_htmlStartTag = "<html>";
    CElement* p = written.Doc().m_root->m_firstChild;
    p->m_firstChild->m_text.Insert(1, static_cast<unsigned short>(1));
    CSafeBuf out;
    written.Doc().GetSourceCode(out, mode, true);
    std::string text = ToUtf8(out);
    for (char& c : text)
        c = c == 1 ? '^' : c;
    return text;
}

TEST(WriterTidy, TextItCannotReadIsWrittenUntidiedNotLost)
{
    EXPECT_EQ(WrittenWithControlCharacter("<p>ab</p><p>cd</p>", 2), "<p>a^b</p><p>cd</p>");
    EXPECT_EQ(
        WrittenWithControlCharacter("<body><p>ab</p></body>", 2), "<html><body><p>a^b</p></body></html>");
    EXPECT_EQ(WrittenWithControlCharacter("<p>ab</p>", 6), "<p>a^b</p>");
}

TEST(Writer, AFragmentsBodyTagsGoInTheDiagnosticFormToo)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("writer-diagnostic-")));
    qmtest::WrittenDocument written;
    written.Control().EnableTimestamp = 0;
    ASSERT_TRUE(written.Read("<p>x</p>"));
    CSafeBuf out;
    written.Doc().GetSourceCode(out, 8 | 2, false);
    const std::string text = ToUtf8(out);
    EXPECT_EQ(text.find("body"), std::string::npos) << text;
    EXPECT_EQ(text.rfind("<p ", 0), 0u) << text;
    EXPECT_NE(text.find("ID=\""), std::string::npos) << "bit 8 writes the element writer's diagnostic form";
}

} // namespace
