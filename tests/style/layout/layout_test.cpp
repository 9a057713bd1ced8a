// The layout pass end to end: a style sheet and markup in, the box dump out
// (tests/data/layout/cases.txt), laid out at the width a case names (800
// by default).

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "style/layout/BoxDump.h"
#include "style/layout/LayoutPass.h"
#include "tests/common/CaseBlocks.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

// A case's input: the page's sheet, then "%% markup" and the document (a
// case without a sheet may start with the markup).
void Parts(const std::string& input, std::string& sheet, std::string& markup)
{
    std::string* into = &markup;
    std::istringstream lines(input);
    std::string line;
    bool marked = input.find("%% markup") != std::string::npos;
    if (marked)
        into = &sheet;
    while (std::getline(lines, line)) {
        if (line == "%% markup")
            into = &markup;
        else
            *into += line + "\n";
    }
}

int WidthOption(const qmtest::CaseBlock& c)
{
    for (const std::string& o : c.options) {
        if (o.rfind("width=", 0) == 0)
            return std::stoi(o.substr(6));
    }
    return 800;
}

// The dump's lines, text runs left out unless asked for.
std::string Boxes(const CElement* body, bool textRuns)
{
    CSafeBuf out;
    GetBoxDump(body, out);
    return qmtest::ReportLines(ToUtf8(out), textRuns);
}

} // namespace

TEST(Layout, Cases)
{
    qmtest::CaseBlockFile file("layout/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        std::string sheet, markup;
        Parts(c.input, sheet, markup);
        CXHTML engine;
        engine.m_doc.LoadStyleClass(FromUtf8(sheet), 0, false, 0);
        CMarkupDocument document(&engine);
        CSafeBuf error;
        ASSERT_TRUE(document.Read(markup.data(), markup.size(), error)) << c.name;
        ASSERT_TRUE(LayoutDocument(document.Body(), WidthOption(c))) << c.name;
        const std::string boxes = Boxes(document.Body(), c.HasOption("text"));
        file.Check(c, boxes);
        // A second pass over the laid-out tree gives the same boxes.
        ASSERT_TRUE(LayoutDocument(document.Body(), WidthOption(c))) << c.name;
        EXPECT_EQ(Boxes(document.Body(), c.HasOption("text")), boxes)
            << c.name << ": a second pass moved boxes";
    }
}

namespace {

// Floats of both sides, clears, a centred block and nested floats, inside
// one div so that a pass can cover all of it without starting at the root.
const char kFloatsDocument[]
    = "<body><div>"
      "<div><div style=\"float:left; width:120px; height:40px\"/></div>"
      "<p><span style=\"width:300px; height:16px\"/><span style=\"width:300px; height:16px\"/>"
      "<span style=\"width:300px; height:16px\"/></p>"
      "<div style=\"float:right; width:90px; height:70px\">"
      "<div style=\"float:left; width:20px; height:20px\"/><p/></div>"
      "<p style=\"text-align:center\"><span style=\"width:200px; height:30px\"/></p>"
      "<div style=\"float:left; width:60px; height:25px\"/>"
      "<p style=\"clear:left\"><span style=\"width:50px; height:10px\"/></p>"
      "<p style=\"clear:both\"><span style=\"width:50px; height:10px\"/></p>"
      "</div></body>";

struct Read
{
    CXHTML engine;
    CMarkupDocument document{&engine};

    explicit Read(const std::string& markup)
    {
        CSafeBuf error;
        EXPECT_TRUE(document.Read(markup.data(), markup.size(), error));
    }
};

} // namespace

// A pass from the root finds floats through its index of the floats it has
// placed; a pass over part of the tree walks the document's float list. Both
// place every box alike.
TEST(Layout, APartialPassPlacesFloatsAsTheWholePass)
{
    Read r(kFloatsDocument);
    CElement* body = r.document.Body();
    ASSERT_TRUE(LayoutDocument(body, 640));
    const std::string whole = Boxes(body, false);
    CElement* div = body->m_firstChild;
    ASSERT_NE(div, nullptr);
    div->CalculateReg(nullptr, nullptr);
    EXPECT_EQ(Boxes(body, false), whole);
    div->ReCalcReg(nullptr, false, false, false, nullptr);
    EXPECT_EQ(Boxes(body, false), whole);
}

// After one element changes, re-laying out it and its ancestors gives the
// boxes of a full layout of the changed tree; GetAreaInfo records the
// boxes before the change.
TEST(Layout, FastReCalcMatchesAFullLayout)
{
    Read r(kFloatsDocument);
    CElement* body = r.document.Body();
    ASSERT_TRUE(LayoutDocument(body, 640));
    body->GetAreaInfo(CPoint(0, 0));
    CElement* span = body->m_firstChild->m_firstChild->m_nextSibling->m_firstChild;
    ASSERT_TRUE(span && span->IsTag("span"));
    ASSERT_NE(span, nullptr);
    const CRect before = span->Lay().m_sizeRect;
    const CPoint beforeAt = span->Lay().m_prevDocPos;
    span->EditStyle().height = 60;
    span->SetAttrFromStyle();
    span->FastReCalc(true);
    const std::string partial = Boxes(body, false);
    EXPECT_EQ(span->Lay().m_prevRect, before);
    EXPECT_EQ(span->Lay().m_prevDocPos.y, beforeAt.y);
    ASSERT_TRUE(LayoutDocument(body, 640));
    EXPECT_EQ(partial, Boxes(body, false));
}

// A paragraph beside a float is laid out in the room the float leaves; an
// edit works its area out again from its parent alone, and the partial
// passes give it back that room, for a float of either side.
TEST(Layout, PartialPassesBesideAFloatMatchAFullLayout)
{
    for (const char* side : {"left", "right"}) {
        const std::string markup = std::string("<body><div style=\"float:") + side
            + "; width:64px; height:80px\"/><p style=\"border:1px solid #000\">beside</p><p>below</p></body>";
        for (bool fast : {true, false}) {
            Read r(markup);
            CElement* body = r.document.Body();
            ASSERT_TRUE(LayoutDocument(body, 300));
            CElement* p = body->m_firstChild->m_nextSibling;
            while (p && !p->IsTag("p"))
                p = p->m_nextSibling;
            ASSERT_NE(p, nullptr);
            p->SetAttrString("style", "border:1px solid #000; height:40px");
            p->StyleChanged(1);
            if (fast) {
                p->FastReCalc(true);
            } else {
                p->ReCalcReg(nullptr, false, false, false, nullptr);
                body->FastReCalc(false);
            }
            const std::string partial = Boxes(body, true);
            ASSERT_TRUE(LayoutDocument(body, 300));
            EXPECT_EQ(Boxes(body, true), partial) << side << (fast ? " FastReCalc" : " ReCalcReg");
        }
    }
}

// A float whose text grows is taller and wider: the paragraphs beside it,
// and one it now reaches, are laid out again in the room it leaves.
TEST(Layout, AFloatThatGrowsNarrowsTheBlocksBesideIt)
{
    Read r("<body><div style=\"float:right; width:40px; border:1px solid #f00\">f</div><p>a</p><p>b</p>"
           "<p>c</p></body>");
    CElement* body = r.document.Body();
    ASSERT_TRUE(LayoutDocument(body, 173));
    CTextElement* run = dynamic_cast<CTextElement*>(body->m_firstChild->m_firstChild);
    ASSERT_NE(run, nullptr);
    run->m_text = FromUtf8("several words that wrap");
    run->FastReCalc(true);
    const std::string partial = Boxes(body, true);
    ASSERT_TRUE(LayoutDocument(body, 173));
    EXPECT_EQ(Boxes(body, true), partial);
}
