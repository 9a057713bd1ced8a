// The layout pass at its limits: lengths from the style through GetPxValue
// (tests/data/layout/px_values.txt), style values at the ends of their
// ranges, and trees nested as deep as the reader allows and deeper, laid
// out on a 1 MB stack.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/MarkupDocument.h"
#include "style/layout/LayoutLimits.h"
#include "style/layout/LayoutNesting.h"
#include "style/layout/LayoutPass.h"
#include "tests/common/CaseFile.h"
#include "tests/common/SmallStack.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

constexpr size_t kStack = 1 << 20;

CElement* Make(const char* tag, CElement* root, CXHTML* owner)
{
    return CreateElement(tag, nullptr, root, owner);
}

// The deepest chain of open + close that the reader still reads.
std::string DeepestReadable(const std::string& open, const std::string& close)
{
    CSafeBuf error;
    for (int n = 270; n > 0; --n) {
        std::string markup = "<body>";
        for (int i = 0; i < n; ++i)
            markup += open;
        markup += "x";
        for (int i = 0; i < n; ++i)
            markup += close;
        markup += "</body>";
        CMarkupDocument probe(nullptr);
        if (probe.Read(markup.data(), markup.size(), error))
            return markup;
    }
    return std::string();
}

} // namespace

TEST(LayoutLimits, PixelValues)
{
    for (const qmtest::CaseLine& c : qmtest::ReadCaseFile("layout/px_values.txt", 6)) {
        CElement e(nullptr);
        e.Lay().m_pxFontSize = std::stoi(c.fields[4]);
        const long long value = std::stoll(c.fields[0]);
        EXPECT_EQ(e.GetPxValue(static_cast<int>(value), std::stoi(c.fields[1]), std::stoi(c.fields[2]),
                      static_cast<int>(std::stoll(c.fields[3]))),
            std::stoi(c.fields[5]))
            << "px_values.txt line " << c.line;
    }
}

TEST(LayoutLimits, PercentagesWithoutAReferenceWidthAreZero)
{
    CXHTML engine;
    CElement* body = Make("body", nullptr, &engine);
    CElement* div = Make("div", body, &engine);
    body->AppendChild(div);
    EXPECT_EQ(div->GetPercentValue(50), 0);
    body->Lay().m_availRect = CRect(0, 0, 640, 0);
    EXPECT_EQ(div->GetPercentValue(50), 320) << "the nearest ancestor with a width answers";
    delete body;
}

// Every length at the end of its range: the pass ends with boxes inside the
// coordinate bound, and the sanitizers see no overflow on the way.
TEST(LayoutLimits, ExtremeStyleValuesStayBounded)
{
    CXHTML engine;
    CElement* body = Make("body", nullptr, &engine);
    CElement* parent = body;
    for (int i = 0; i < 40; ++i) {
        CElement* div = Make(i % 3 == 2 ? "span" : "div", body, &engine);
        ELEMENT_STYLE& s = div->EditStyle();
        for (STYLE_TYPE* cell : {&s.marginLeft, &s.marginTop, &s.marginRight, &s.marginBottom, &s.paddingLeft,
                 &s.paddingTop, &s.paddingRight, &s.paddingBottom, &s.textIndent}) {
            cell->set = true;
            cell->value = i % 2 ? INT_MAX : INT_MIN;
            cell->unit = i % 4;
        }
        s.borderSet = 1;
        for (BORDER_SIDE& side : s.border)
            side = BORDER_SIDE{kLineSolid, INT_MAX, i % 3, 0, 1, 1};
        s.widthSet = s.heightSet = 1;
        s.width = s.height = SHRT_MAX;
        s.widthUnit = s.heightUnit = static_cast<std::int16_t>(i % 2);
        s.fontSet = s.sizeSet = 1;
        s.fontSize = SHRT_MAX;
        s.fontSizeUnit = kUnitPercent;
        s.lineHeight = NewIntStyleValue{true, false, true, false, 0, static_cast<std::int32_t>(0x00027FFF)};
        parent->AppendChild(div);
        if (i % 5 == 0) {
            div->EditStyle().floatSide.set = true;
            div->EditStyle().floatSide.value = i % 2 ? kFloatRight : kFloatLeft;
        }
        parent = div;
    }
    ASSERT_TRUE(LayoutDocument(body, INT_MAX));
    for (CElement* e = body; e; e = e->m_firstChild) {
        EXPECT_LE(e->Lay().m_sizeRect.right, kMaxLayoutCoord);
        EXPECT_LE(e->Lay().m_sizeRect.bottom, kMaxLayoutCoord);
        EXPECT_GE(e->Lay().m_sizeRect.right, 0);
        EXPECT_GE(e->Lay().m_sizeRect.bottom, 0);
        EXPECT_LE(e->Lay().m_pxFontSize, kMaxFontPixels);
    }
    delete body;
}

// Documents nested as deep as the reader takes them are laid out whole on a
// 1 MB stack: the innermost element gets its place.
TEST(LayoutLimits, DocumentsAsDeepAsTheReaderAllows)
{
    const std::pair<std::string, std::string> patterns[] = {
        {"<div>", "</div>"},
        {"<span>", "</span>"},
        {"<div style=\"float:left\"><p>", "</p></div>"},
    };
    for (const auto& p : patterns) {
        const std::string markup = DeepestReadable(p.first, p.second);
        ASSERT_FALSE(markup.empty()) << p.first;
        bool laidOut = false;
        int depth = 0;
        ASSERT_TRUE(qmtest::RunOnSmallStack(
            [&] {
                CXHTML engine;
                CMarkupDocument document(&engine);
                CSafeBuf error;
                if (!document.Read(markup.data(), markup.size(), error))
                    return;
                laidOut = LayoutDocument(document.Body(), 800);
                CElement* e = document.Body();
                while (e->m_firstChild) {
                    e = e->m_firstChild;
                    ++depth;
                }
                EXPECT_EQ(e->Lay().m_layoutPass != 0, true)
                    << p.first << ": the innermost element was placed";
            },
            kStack));
        EXPECT_TRUE(laidOut) << p.first;
        EXPECT_GE(depth, 250) << p.first;
    }
}

// A tree nested far deeper than markup can be (edits can nest further) is
// laid out down to the nesting bound; what lies deeper stays empty.
TEST(LayoutLimits, DeeperTreesStopAtTheNestingBound)
{
    bool done = false;
    ASSERT_TRUE(qmtest::RunOnSmallStack(
        [&] {
            CXHTML engine;
            CElement* body = Make("body", nullptr, &engine);
            CElement* parent = body;
            for (int i = 0; i < 3000; ++i) {
                CElement* e = Make(i % 2 ? "span" : "div", body, &engine);
                e->EditStyle().heightSet = 1;
                e->EditStyle().height = 5;
                e->SetAttrFromStyle();
                parent->AppendChild(e);
                parent = e;
            }
            ASSERT_TRUE(LayoutDocument(body, 800));
            int depth = 0;
            const CElement* e = body->m_firstChild;
            for (; e && e->Lay().m_sizeRect.bottom > 0; e = e->m_firstChild)
                ++depth;
            EXPECT_GT(depth, 256) << "every level the reader allows is laid out";
            EXPECT_LT(depth, kMaxLayoutNesting) << "the pass stopped at its bound";
            delete body;
            done = true;
        },
        kStack));
    EXPECT_TRUE(done);
}
