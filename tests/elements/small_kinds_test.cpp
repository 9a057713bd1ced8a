// The small element kinds: reading, laying out and writing scripts, holders,
// anchors and comments (tests/data/small_kinds/cases.txt), the rule's box
// and line, the centring block, and a selected division's mark.

#include "tests/common/CaseBlocks.h"
#include "tests/elements/support/RunDocument.h"

#include "elements/HRElement.h"
#include "platform/cg/Context.h"
#include "style/layout/ElementPosition.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using qmtest::RunDocument;

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    const int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes, static_cast<size_t>(n));
    delete[] bytes;
    return out;
}

CElement* FindKind(CElement* e, long kind)
{
    if (!e || e->m_kind == kind)
        return e;
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CElement* found = FindKind(c, kind))
            return found;
    }
    return nullptr;
}

unsigned long PixelAt(CElement* body, int x, int y)
{
    const qm::cg::Pixel p = body->m_dc->ReadPixel(x, y);
    return RGB(p.red, p.green, p.blue);
}

} // namespace

TEST(SmallKinds, MarkupCases)
{
    qmtest::CaseBlockFile file("small_kinds/cases.txt");
    for (const qmtest::CaseBlock& c : file.Cases()) {
        RunDocument doc(c.input);
        ASSERT_NE(doc.Body(), nullptr) << c.name;
        ASSERT_TRUE(LayoutDocument(doc.Body(), 400)) << c.name;
        CSafeBuf out;
        doc.doc.Write(out, 0);
        file.Check(c, Utf8(out));
    }
}

TEST(SmallKinds, RuleBoxFollowsWidthAndHeight)
{
    // Only a width in pixels is a minimum: without one the box follows the
    // width offered, as a percentage's does.
    const struct
    {
        const char* style;
        int width, height, minWidth;
    } cases[] = {
        {"", 400, 16, 0},
        {"width:50%", 200, 16, 0},
        {"width:120px", 120, 16, 120},
        {"height:3px", 400, 17, 0},
    };
    for (const auto& c : cases) {
        RunDocument doc(std::string("<body style=\"margin:0\"><hr style=\"") + c.style + "\" /></body>");
        ASSERT_TRUE(LayoutDocument(doc.Body(), 400)) << c.style;
        CElement* hr = FindKind(doc.Body(), kKindHr);
        ASSERT_NE(hr, nullptr);
        EXPECT_EQ(hr->Lay().m_sizeRect.right - hr->Lay().m_sizeRect.left, c.width) << c.style;
        EXPECT_EQ(hr->Lay().m_sizeRect.bottom - hr->Lay().m_sizeRect.top, c.height) << c.style;
        CSize least(0, 0);
        hr->GetMinSize(least, false);
        EXPECT_EQ(least.cx, c.minWidth) << c.style;
    }
}

TEST(SmallKinds, RuleLineIsFilledOneHighAndFramedWhenTaller)
{
    const unsigned long grey = RGB(120, 120, 120), white = RGB(255, 255, 255);
    for (int height : {1, 3}) {
        RunDocument doc("<body style=\"margin:0\"><p>a</p><hr style=\"height:" + std::to_string(height)
            + "px\" /><p>b</p></body>");
        ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
        ASSERT_TRUE(RepaintDocument(doc.Body()));
        CElement* hr = FindKind(doc.Body(), kKindHr);
        const CPoint at = DocumentPosition(hr);
        const int mid = at.x + (hr->Lay().m_sizeRect.right - hr->Lay().m_sizeRect.left) / 2;
        const int top = at.y + 7;
        EXPECT_EQ(PixelAt(doc.Body(), mid, top), grey) << height;
        if (height == 3) {
            EXPECT_EQ(PixelAt(doc.Body(), mid, top + 1), white);
            EXPECT_EQ(PixelAt(doc.Body(), mid, top + 2), grey);
        }
        EXPECT_EQ(PixelAt(doc.Body(), mid, top + height), white) << height;
    }
}

TEST(SmallKinds, ClickingARuleSelectsItAlone)
{
    RunDocument doc("<p>a</p><hr /><hr />");
    ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
    CElement* first = FindKind(doc.Body(), kKindHr);
    CElement* second = first->m_nextSibling;
    second->m_selected = 1;
    bool handled = false, repainted = false;
    CPoint caret;
    int length = 0;
    EXPECT_EQ(first->LButtonDown(0, CPoint(), handled, caret, length, repainted), 1);
    EXPECT_TRUE(first->m_selected);
    EXPECT_FALSE(second->m_selected);
    EXPECT_TRUE(repainted);
    EXPECT_EQ(first->LButtonDown(0, CPoint(), handled, caret, length, repainted), 0);
    EXPECT_EQ(first->LButtonDown(65535, CPoint(), handled, caret, length, repainted), 0);
}

TEST(SmallKinds, CenterSpansTheAreaAndCentresItsContent)
{
    RunDocument doc("<body style=\"margin:0\"><center><img width=\"100\" height=\"10\" /></center></body>");
    ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
    CElement* center = FindKind(doc.Body(), kKindCenter);
    ASSERT_NE(center, nullptr);
    EXPECT_GE(center->Lay().m_sizeRect.right - center->Lay().m_sizeRect.left, 400);
    CElement* img = FindKind(center, kKindImg);
    ASSERT_NE(img, nullptr);
    EXPECT_NEAR(img->Lay().m_position.x, 150, 1);
}

TEST(SmallKinds, ALineBreakTakesTheIconsBoxWhileMarksAreShown)
{
    for (bool marks : {false, true}) {
        CXHTML engine;
        engine.m_showLineBreakMarks = marks;
        engine.m_lineBreakIconWidth = 12;
        engine.m_lineBreakIconHeight = 10;
        CMarkupDocument doc(&engine);
        CSafeBuf error;
        const std::string markup = "<p>a<br />b</p>";
        ASSERT_TRUE(doc.Read(markup.data(), markup.size(), error));
        ASSERT_TRUE(LayoutDocument(doc.Body(), 400));
        CElement* br = FindKind(doc.Body(), kKindBr);
        ASSERT_NE(br, nullptr);
        if (marks) {
            EXPECT_EQ(br->Lay().m_sizeRect, CRect(0, 0, 12, 10));
            EXPECT_EQ(br->Lay().m_baseline.y,
                10 + br->Lay().m_marginLeftTop.y + br->Lay().m_marginRightBottom.y - 2);
        } else {
            EXPECT_NE(br->Lay().m_sizeRect, CRect(0, 0, 12, 10));
        }
    }
}
