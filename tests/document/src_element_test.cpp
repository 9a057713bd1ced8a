// The markup tree: reading and writing on the cases of
// tests/data/src_element/markup.txt, the clean-up passes on those of
// passes.txt, and the names, kinds and tree operations that the cases do not
// show.

#include "document/SrcElement.h"
#include "document/WriterTidy.h"

#include "editor/XHTML.h"
#include "plugin/MorvaXEditorCtrl.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"
#include "tests/document/support/ShownMarkup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using qmtest::FromUtf8;
using qmtest::ShownMarkup;
using qmtest::Utf8;

std::string OptionValue(const qmtest::CaseBlock& c, const std::string& name)
{
    for (const std::string& o : c.options) {
        if (o.rfind(name + "=", 0) == 0)
            return o.substr(name.size() + 1);
    }
    return "";
}

std::string Written(CSrcElement& root, int mode = 2, int level = -1)
{
    CSafeBuf out;
    root.GetSourceCode(out, level, mode, true);
    return ShownMarkup(out);
}

TEST(SrcElementCases, ReadAndWritten)
{
    qmtest::CaseBlockFile file("src_element/markup.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CSrcElement root("body");
        if (!root.LoadDoc(FromUtf8(c.input))) {
            EXPECT_FALSE(root.FirstChild()) << c.name;
            file.Check(c, "FALSE");
            continue;
        }
        int mode = c.HasOption("indent") ? 1 : 2;
        const std::pair<const char*, int> bits[] = {
            {"content", 0x100}, {"plain", 0x80}, {"escape", 0x200}, {"comments", 0x1000}, {"shallow", 0x10}};
        for (const auto& [option, bit] : bits)
            mode |= c.HasOption(option) ? bit : 0;
        const std::string level = OptionValue(c, "level");
        file.Check(c, Written(root, mode, level.empty() ? -1 : std::stoi(level)));
    }
}

void RunPass(CSrcElement& root, const std::string& pass)
{
    if (pass == "empty")
        root.RemoveEmptyTag(1);
    else if (pass == "bare")
        root.RemoveTagWithoutAttr(0);
    else if (pass == "bare1")
        root.RemoveTagWithoutAttr(1);
    else if (pass == "nonxhtml")
        root.RemoveNonXhtmlTag();
    else if (pass == "attributes")
        root.CorrectTagNameAndAttr(true);
    else if (pass == "attributes-noclass")
        root.CorrectTagNameAndAttr(false);
    else if (pass == "word")
        root.RemoveWordAttr();
    else if (pass == "script")
        root.RemoveScriptInfo();
    else if (pass == "emptyp")
        root.RemoveEmptyParagraph();
    else if (pass.rfind("custom=", 0) == 0)
        root.CleanCustomTag(FromUtf8("," + pass.substr(7) + ","));
    else if (pass == "validate")
        root.ValidateDoc();
    else if (pass == "top")
        root.RemoveTopSingleEle();
    else if (pass.rfind("tags=", 0) == 0) {
        const std::string argument = pass.substr(5);
        const size_t colon = argument.find(':');
        const std::string tag = colon == std::string::npos ? "" : argument.substr(colon + 1);
        root.RemoveTags(std::stoi(argument.substr(0, colon)), tag.empty() ? nullptr : tag.c_str());
    } else if (pass == "combine") {
        for (int round = 0; round < 1000 && root.CombineTag(); ++round) { }
    } else if (pass == "movebr")
        root.MoveBrInside();
    else if (pass == "final")
        root.FinalClean(false);
    else if (pass == "writer")
        RunWriterTidyPasses(root);
    else
        ADD_FAILURE() << "no pass " << pass;
}

TEST(SrcElementCases, Passes)
{
    qmtest::CaseBlockFile file("src_element/passes.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        CSrcElement root("body");
        ASSERT_TRUE(root.LoadDoc(FromUtf8(c.input))) << c.name;
        for (const std::string& pass : c.options)
            RunPass(root, pass);
        file.Check(c, Written(root));
    }
}

TEST(SrcElement, TagNamesTakeTheTableFormAndKinds)
{
    struct Case
    {
        const char* name;
        const char* tag;
        int nonXHTML;
        int kind;
    } cases[] = {
        {"DIV", "div", 0, 2},
        {"Span", "span", 0, 1},
        {"H2", "h2", 0, 4},
        {"li", "li", 0, 8},
        {"TITLE", "title", 0, 16},
        {"del", "del", 0, 2}, // block wins over inline
        {"noscript", "noscript", 0, 2},
        {"col", "col", 0, 2},
        {"option", "option", 0, 33},
        {"Note", "Note", 1, 33},
        {"o:p", "o:p", 1, 33},
        {"blockquotes", "blockquotes", 1, 33},
    };
    for (const Case& c : cases) {
        CSrcElement e(c.name);
        EXPECT_EQ(Utf8(CSafeBuf(e.m_tag)), c.tag) << c.name;
        EXPECT_EQ(e.m_nonXHTML, c.nonXHTML) << c.name;
        EXPECT_EQ(e.ElementType(), c.kind) << c.name;
    }
    CSrcElement text(static_cast<const char*>(nullptr));
    EXPECT_TRUE(text.IsTextNode());
    EXPECT_EQ(text.m_nonXHTML, 0);
    EXPECT_EQ(text.ElementType(), CSrcElement::kText);
}

TEST(SrcElement, AnOtherElementIsABlockWhenItHoldsOne)
{
    CSrcElement root("body");
    ASSERT_TRUE(root.LoadDoc(FromUtf8("<body><Note><b>a</b></Note><Box><Inner><p>b</p></Inner></Box>"
                                      "<Wrap><Note2>c</Note2><Empty/></Wrap></body>")));
    CSrcElement* note = root.FirstChild();
    CSrcElement* box = note->NextSibling();
    CSrcElement* wrap = box->NextSibling();
    EXPECT_EQ(note->ElementType(), 33);
    EXPECT_EQ(box->ElementType(), 34) << "a paragraph two levels down makes a block";
    EXPECT_EQ(box->FirstChild()->ElementType(), 34);
    EXPECT_EQ(wrap->ElementType(), 33) << "other elements below are not blocks";
    EXPECT_TRUE(box->IsThereBlockTypeChild());
    EXPECT_FALSE(wrap->IsThereBlockTypeChild());
}

TEST(SrcElement, TheControlsCustomListsDecideTheKindOfItsElements)
{
    qmtest::TempHome home;
    ASSERT_TRUE(home.Create(qmtest::TestOutputPath("srcelement-home-")));
    CMorvaXEditorCtrl control;
    control.SetCustomBlockElements(FromUtf8("Box, Note"));
    control.SetCustomInlineElements(FromUtf8("Mark"));
    CXHTML engine;
    engine.m_control = &control;
    CSrcElement root("body", &engine);
    ASSERT_TRUE(root.LoadDoc(FromUtf8("<body><Note>a</Note><Mark><p>b</p></Mark><Other>c</Other></body>")));
    CSrcElement* note = root.FirstChild();
    EXPECT_EQ(note->ElementType(), 34) << "a listed block";
    EXPECT_EQ(note->NextSibling()->ElementType(), 33) << "a listed inline element, whatever it holds";
    EXPECT_EQ(note->NextSibling()->NextSibling()->ElementType(), 33);
}

TEST(SrcElement, ALongTagAndSixtyAttributesAreAllWritten)
{
    // A tag name far beyond 256 units, and more attributes than a fixed
    // table of 50 would hold: every one is written, in ascending order.
    const std::string tag = "x" + std::string(300, 'n');
    std::string markup = "<body><" + tag;
    std::string expected = "<body><" + tag;
    for (int i = 59; i >= 0; --i)
        markup += " a" + std::to_string(100 + i) + "=\"" + std::to_string(i) + "\"";
    for (int i = 0; i < 60; ++i)
        expected += " a" + std::to_string(100 + i) + "=\"" + std::to_string(i) + "\"";
    markup += ">t</" + tag + "></body>";
    expected += ">t</" + tag + "></body>";
    CSrcElement root("body");
    ASSERT_TRUE(root.LoadDoc(FromUtf8(markup)));
    EXPECT_EQ(root.FirstChild()->m_tag.Length(), 301);
    EXPECT_EQ(Written(root), expected);
}

TEST(SrcElement, MovingChildrenKeepsThemWhenThePlaceIsForeign)
{
    CSrcElement root("body");
    ASSERT_TRUE(root.LoadDoc(FromUtf8("<body><p>a<b>b</b></p><div>c</div><i>d</i></body>")));
    CSrcElement* p = root.FirstChild();
    CSrcElement* div = p->NextSibling();
    CSrcElement* italic = div->NextSibling();
    // after is a child of another node: nothing moves, nothing is lost.
    EXPECT_FALSE(CSrcElement::MoveChildrenTo(p, div, italic));
    EXPECT_EQ(p->GetChildCount(), 2);
    EXPECT_EQ(Written(root), "<body><p>a<b>b</b></p><div>c</div><i>d</i></body>");
    // Into the middle of a list, in order.
    EXPECT_TRUE(CSrcElement::MoveChildrenTo(p, &root, div));
    EXPECT_EQ(p->GetChildCount(), 0);
    EXPECT_EQ(Written(root), "<body><p>&#160;</p><div>c</div>a<b>b</b><i>d</i></body>");
    // A text source gives its text.
    CSrcElement* c = div->FirstChild();
    EXPECT_TRUE(CSrcElement::MoveChildrenTo(italic->FirstChild(), c, nullptr));
    EXPECT_EQ(Utf8(CSafeBuf(c->m_text)), "cd");
    root.RemoveChild(p);
    root.RemoveChild(italic->FirstChild()); // not a child of root: nothing
    EXPECT_EQ(root.GetChildCount(), 4);
}

TEST(SrcElement, Queries)
{
    CSrcElement root("body");
    ASSERT_TRUE(root.LoadDoc(FromUtf8("<body><div><table><caption>c</caption><tr><td><table><tr><td>x</td>"
                                      "</tr></table></td><th>h</th></tr></table></div><td>y</td></body>")));
    EXPECT_EQ(root.FindChild("table", false), nullptr);
    CSrcElement* table = root.FindChild("table", true);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Parent(), root.FirstChild());
    // Deep: the first child's subtree is searched before the next child.
    EXPECT_TRUE(root.FindChild("td", true)->Parent()->IsTag("tr"));
    EXPECT_EQ(root.FindChild("td", false), root.LastChild());

    CPtrList cells;
    table->GetCurrentTDs(cells);
    EXPECT_EQ(cells.GetCount(), 3) << "caption, td and th; not the inner table's cell";
    CPtrList all;
    root.GetAllChildren(all);
    EXPECT_EQ(all.GetCount(), 14);
    EXPECT_EQ(all.GetHead(), root.FirstChild());

    root.ReplaceTag("td", "th");
    EXPECT_EQ(root.FindChild("td", true), nullptr);
    table->RelocateChild("tr");
    EXPECT_TRUE(table->FirstChild()->IsTag("tr"));

    EXPECT_TRUE(CSrcElement::IsThereSpace(qmtest::U16(u"a b")));
    EXPECT_FALSE(CSrcElement::IsThereSpace(qmtest::U16(u"a\tb")));
    EXPECT_TRUE(CSrcElement::IsValidText(qmtest::U16(u" \t!")));
    EXPECT_FALSE(CSrcElement::IsValidText(qmtest::U16(u" \t\r\n")));

    CSrcElement text(static_cast<const char*>(nullptr));
    EXPECT_FALSE(text.AllTextAreWhiteSpace()) << "empty text";
    text.m_text = "\r\n _x_Here_to_put_cursor_x_\t_x_Here_selection_begins_x__x_Here_selection_ends_x_";
    EXPECT_TRUE(text.AllTextAreWhiteSpace());
    text.m_text += "a";
    EXPECT_FALSE(text.AllTextAreWhiteSpace());
}

} // namespace
