// The streamed read (CSrcElement::LoadDocStreamed) against LoadDoc's read
// through the parser's document tree: the same answer, tree, html start tag
// and kept nodes, on the cases of tests/data/src_element/streamed.txt and
// on the inputs of the other markup case files, each also wrapped in the
// html element the writer puts around a whole document.

#include "document/SrcElement.h"

#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"
#include "tests/document/support/ShownMarkup.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::FromUtf8;
using qmtest::ShownMarkup;

// Everything a read leaves in the root, written out: the answer, the tree
// (indented, with comments as elements, and compact), and the parts of a
// whole document.
std::string ReadResult(const std::string& markup, bool streamed, std::string* compact = nullptr)
{
    CSrcElement root("body");
    const CSafeBuf text = FromUtf8(markup);
    if (!(streamed ? root.LoadDocStreamed(text) : root.LoadDoc(text)))
        return root.FirstChild() || root.m_document ? "FALSE, with what was read kept" : "FALSE";
    CSafeBuf out;
    root.GetSourceCode(out, 0, 1 | 0x1000, true);
    std::string result = ShownMarkup(out);
    root.GetSourceCode(out, -1, 2, true);
    if (compact)
        *compact = ShownMarkup(out);
    result += "\n" + ShownMarkup(out);
    if (root.m_document) {
        result += "\nhtml: " + ShownMarkup(root.m_document->htmlStartTag);
        for (void* p = root.m_document->keptNodes.GetHeadPosition(); p;)
            result += "\nkept: " + ShownMarkup(CSafeBuf(root.m_document->keptNodes.GetNext(p)));
    }
    return result;
}

void ExpectSameRead(const std::string& markup, const std::string& where)
{
    EXPECT_EQ(ReadResult(markup, false), ReadResult(markup, true)) << where << "\n" << markup;
    if (markup.rfind("<body", 0) == 0) {
        const std::string whole
            = "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\">" + markup + "</html>";
        EXPECT_EQ(ReadResult(whole, false), ReadResult(whole, true)) << where << " in html\n" << whole;
    }
}

TEST(SrcElementStream, ReadsAsTheDocumentTreeDoes)
{
    qmtest::CaseBlockFile file("src_element/streamed.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        ExpectSameRead(c.input, c.name);
        std::string compact;
        const std::string result = ReadResult(c.input, true, &compact);
        file.Check(c, result.rfind("FALSE", 0) == 0 ? result : compact);
    }
}

TEST(SrcElementStream, ReadsTheOtherCaseFilesAsTheDocumentTreeDoes)
{
    for (const char* path :
        {"src_element/markup.txt", "src_element/passes.txt", "writer/cases.txt", "clean/cases.txt"}) {
        qmtest::CaseBlockFile file(path);
        ASSERT_FALSE(file.Cases().empty()) << path;
        for (const qmtest::CaseBlock& c : file.Cases())
            ExpectSameRead(c.input, std::string(path) + ": " + c.name);
    }
}

TEST(SrcElementStream, NestingPastTheParsersDepthIsRefusedAlike)
{
    for (int depth : {250, 300}) {
        std::string markup = "<body>";
        for (int i = 0; i < depth; ++i)
            markup += "<span>";
        markup += "x";
        for (int i = 0; i < depth; ++i)
            markup += "</span>";
        markup += "</body>";
        ExpectSameRead(markup, "depth " + std::to_string(depth));
    }
}

TEST(SrcElementStream, ARootThatHoldsSomethingIsReadThroughTheDocumentTree)
{
    CSrcElement root("body");
    root.m_attributes.SetAt(FromUtf8("id"), FromUtf8("kept"));
    ASSERT_TRUE(root.LoadDocStreamed(FromUtf8("<body class=\"c\"><p>a</p></body>")));
    CSafeBuf out;
    root.GetSourceCode(out, -1, 2, true);
    EXPECT_EQ("<body class=\"c\" id=\"kept\"><p>a</p></body>", ShownMarkup(out));
}

} // namespace
