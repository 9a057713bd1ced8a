// The writer appends: AppendSourceCode gives what GetSourceCode writes, after
// the text already in the buffer, for every kind of element (a kind that
// writes itself and forgot to append through its own writer would be
// written by the common one), in each form of the writer.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "element/markup/SourceCode.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Text runs, inline and block kinds, a table with a caption and column
// groups, a list, a comment, a script, a holder (object, form control), an
// image, a break, a pre with generated breaks and an unknown (custom) tag.
const char kEveryKind[] = "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>"
                          "<p>Text <b>bold <i>both</i></b> <a href=\"#x\">link</a><br/>after</p>"
                          "<!-- a comment --><script>var x;</script>"
                          "<table border=\"1\"><caption>cap</caption><colgroup><col width=\"20\"/></colgroup>"
                          "<tr><td>a</td><td><img src=\"x.png\" alt=\"\"/></td></tr></table>"
                          "<ul><li>one</li><li>two <em>em</em></li></ul>"
                          "<form><input type=\"text\" value=\"v\"/><select><option>o</option></select></form>"
                          "<object data=\"x\">held</object><pre>line one\nline two</pre>"
                          "<custom-tag at=\"1\">custom <span>inner</span></custom-tag>"
                          "<div><p>in a div</p>loose text</div></body></html>";

void CheckEvery(CElement* e, int flags, int& checked)
{
    CSafeBuf a, b, c, whole;
    e->GetSourceCode(whole, 1, flags, a, b, c, nullptr);
    CSafeBuf appended("prefix>");
    e->AppendSourceCode(appended, 1, flags, a, b, c, nullptr);
    CSafeBuf expected("prefix>");
    expected += whole;
    EXPECT_EQ(qmtest::ToUtf8(appended), qmtest::ToUtf8(expected))
        << "kind " << e->m_kind << " flags " << flags;
    ++checked;
    for (CElement* child = e->m_firstChild; child; child = child->m_nextSibling)
        CheckEvery(child, flags, checked);
}

} // namespace

TEST(WriterAppend, EveryKindAppendsWhatItWrites)
{
    CXHTML engine;
    CMarkupDocument document(&engine);
    CSafeBuf error;
    ASSERT_TRUE(document.Read(kEveryKind, sizeof kEveryKind - 1, error)) << qmtest::ToUtf8(error);
    for (int flags :
        {0, kSourceIndent, kSourceIndent | kSourceDiagnostic, kSourceMerge, kSourceContentOnly}) {
        int checked = 0;
        CheckEvery(document.Body(), flags, checked);
        EXPECT_GT(checked, 40);
    }
}

// A fragment and a whole document are written in order into one buffer:
// what stands before the body (the XML declaration, the html start tag, the
// head) and after it keeps its place.
TEST(WriterAppend, DocumentPartsStandInOrder)
{
    struct Case
    {
        const char* in;
        int flags;
        const char* out;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\"?><p>a &gt; b</p><p>c</p>", 0,
            "<?xml version=\"1.0\"?><p>a &gt; b</p><p>c</p>"},
        {"<?xml version=\"1.0\"?>\n<html><head><title>t</title></head><body><p>x</p></body></html>", 0,
            "<?xml version=\"1.0\"?><html><head><title>t</title></head><body><p>x</p></body></html>"},
        {"<body><p>x</p></body>", kSourceIndent, "<body>\r\n\t<p>\r\n\t\tx\r\n\t</p>\r\n</body>\r\n"},
        {"plain text", kSourceIndent, "<p>\r\n\tplain text\r\n</p>\r\n"},
    };
    CXHTML engine;
    for (const Case& c : cases) {
        CMarkupDocument document(&engine);
        CSafeBuf error, out;
        ASSERT_TRUE(document.Read(c.in, std::strlen(c.in), error)) << c.in;
        document.Write(out, c.flags);
        EXPECT_EQ(qmtest::ToUtf8(out), c.out) << c.in;
    }
}
