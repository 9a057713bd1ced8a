// Inline content wrapped into lines: documents laid out at a width, their
// boxes written as the box dump (style/layout/BoxDump.h) and compared with
// tests/data/line_wrap/cases.txt. Options: [w=N] the layout width (default
// 300). Laying a document out again after an edit must give the boxes of a
// layout from scratch.

#include "tests/common/CaseBlocks.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "style/layout/BoxDump.h"
#include "style/layout/LayoutPass.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Dump(const CElement* root)
{
    CSafeBuf out;
    GetBoxDump(root, out);
    return std::string(out.GetAnsiBuffer());
}

int WidthOption(const qmtest::CaseBlock& c)
{
    for (const std::string& o : c.options) {
        if (o.rfind("w=", 0) == 0)
            return std::stoi(o.substr(2));
    }
    return 300;
}

struct Laid
{
    explicit Laid(const std::string& markup)
    {
        CSafeBuf error;
        read = doc.Read(markup.data(), markup.size(), error);
    }
    CXHTML engine;
    CMarkupDocument doc{&engine};
    bool read = false;
};

} // namespace

TEST(LineWrap, Cases)
{
    qmtest::CaseBlockFile file("line_wrap/cases.txt");
    ASSERT_FALSE(file.Cases().empty());
    for (const qmtest::CaseBlock& c : file.Cases()) {
        Laid laid(c.input);
        ASSERT_TRUE(laid.read) << c.name;
        ASSERT_TRUE(LayoutDocument(laid.doc.Body(), WidthOption(c)));
        file.Check(c, Dump(laid.doc.Body()));
    }
}

namespace {

const char kParagraphs[]
    = "<div><p>First paragraph with <span style=\"border: 1px solid blue\">a bordered span that "
      "runs over several lines of the column</span> and a <a href=\"#x\">link with <b>bold "
      "words inside it</b></a> before its end.</p><p>Second paragraph, plain text of some "
      "length that wraps a few times at the narrow width.</p><p><i>Third</i> one, "
      "well-known and short-lived.</p><p dir=\"rtl\">\u0633\u0644\u0627\u0645 <b>bold English "
      "words \u0639\u0644\u064a\u0643\u0645</b> \u0635\u062f\u064a\u0642\u064a and more "
      "English to wrap</p></div>";

// The first text run of the n-th paragraph (from 0).
CTextElement* FirstRunOf(CElement* body, int n)
{
    CElement* div = body->m_firstChild;
    CElement* p = div ? div->m_firstChild : nullptr;
    for (int i = 0; p && i < n; ++i)
        p = p->m_nextSibling;
    return p ? dynamic_cast<CTextElement*>(p->m_firstChild) : nullptr;
}

} // namespace

TEST(LineWrap, LayingOutAgainGivesTheBoxesOfAFreshLayout)
{
    Laid fresh(kParagraphs);
    ASSERT_TRUE(LayoutDocument(fresh.doc.Body(), 260));
    const std::string expected = Dump(fresh.doc.Body());

    // Narrower first (more pieces), then the same width twice.
    Laid again(kParagraphs);
    ASSERT_TRUE(LayoutDocument(again.doc.Body(), 120));
    EXPECT_NE(Dump(again.doc.Body()), expected);
    ASSERT_TRUE(LayoutDocument(again.doc.Body(), 260));
    EXPECT_EQ(Dump(again.doc.Body()), expected);
    ASSERT_TRUE(LayoutDocument(again.doc.Body(), 260));
    EXPECT_EQ(Dump(again.doc.Body()), expected);
}

TEST(LineWrap, AnEditBetweenLayoutsLaysOutAsTheEditedDocument)
{
    std::string edited(kParagraphs);
    edited.insert(edited.find("Second paragraph"), "Several new words typed here. ");
    Laid fresh(edited);
    ASSERT_TRUE(LayoutDocument(fresh.doc.Body(), 200));

    Laid laid(kParagraphs);
    ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 150));
    CTextElement* run = FirstRunOf(laid.doc.Body(), 1);
    ASSERT_NE(run, nullptr);
    CSafeBuf typed;
    typed = "Several new words typed here. ";
    typed += run->m_text;
    run->m_text = typed;
    ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 200));
    EXPECT_EQ(Dump(laid.doc.Body()), Dump(fresh.doc.Body()));
}

TEST(LineWrap, AnEditLaidOutAgainInPartGivesTheBoxesOfAWholeLayout)
{
    // A piece of a wrapped run takes new text and is laid out again alone:
    // its block joins the pieces and makes its lines again, so words move
    // back to earlier lines and into the pieces around it.
    const struct
    {
        int paragraph;
        int piece; // among the run's pieces
        const char* text;
    } cases[] = {
        {1, 1, "x"},                                    // no blank at the end: joins the next piece's word
        {1, 0, "Second "},                              // shorter: words come back up
        {1, 2, "several words typed into the middle "}, // longer: words go on down
        {0, 0, "First "},                               // before a bordered span and a link
        {3, 0, "\u0633\u0644\u0627\u0645 "},            // a right-to-left line
    };
    for (const auto& c : cases) {
        Laid laid(kParagraphs);
        ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 150));
        CTextElement* run = FirstRunOf(laid.doc.Body(), c.paragraph);
        ASSERT_NE(run, nullptr);
        for (int i = 0; i < c.piece && run; i++)
            run = dynamic_cast<CTextElement*>(run->m_nextSibling);
        ASSERT_NE(run, nullptr) << c.text;
        CSafeBuf text;
        text.AssignUTF8(c.text);
        run->m_text = text;
        run->FastReCalc(true);
        const std::string partial = Dump(laid.doc.Body());
        ASSERT_TRUE(LayoutDocument(laid.doc.Body(), 150));
        EXPECT_EQ(partial, Dump(laid.doc.Body())) << c.text;
    }
}
