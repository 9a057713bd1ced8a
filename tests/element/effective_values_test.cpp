// Values found along the ancestors.

#include "element/EffectiveValues.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "tests/element/support/TreeBuilder.h"

#include <gtest/gtest.h>

#include <climits>

using qmtest::BuildTree;
using qmtest::BuiltTree;

namespace {

void SetSize(CElement* e, int size, int unit, bool inherited = false)
{
    e->EditStyle().fontSize = static_cast<std::int16_t>(size);
    e->EditStyle().fontSizeUnit = static_cast<std::int16_t>(unit);
    e->EditStyle().sizeSet = 1;
    e->EditStyle().sizeInherited = inherited;
}

} // namespace

TEST(EffectiveValues, FontSizeAlongTheAncestors)
{
    CXHTML engine;
    BuiltTree t = BuildTree("<body><div><p><span _mark=''/></p></div></body>", &engine);
    CElement* span = t.marked;
    CElement* p = span->m_parent;
    CElement* div = p->m_parent;
    EXPECT_EQ(16, GetActualFontSize(span));
    SetSize(div, 20, kUnitPixels);
    SetSize(p, 150, kUnitPercent);
    EXPECT_EQ(30, GetActualFontSize(span));
    SetSize(span, 150, kUnitPercent, true); // copied from p: not applied twice
    EXPECT_EQ(30, GetActualFontSize(span));
    SetSize(span, 133, kUnitEm);
    EXPECT_EQ(40, GetActualFontSize(span)); // 30 x 1.33 = 39.9, rounded
    for (CElement* e : {t.root, div, p, span})
        SetSize(e, 30000, kUnitPercent);
    EXPECT_EQ(INT_MAX, GetActualFontSize(span)) << "held within int, no overflow";
    EXPECT_EQ(16, GetActualFontSize(nullptr));
}

TEST(EffectiveValues, ColoursAlongTheAncestors)
{
    CXHTML engine;
    BuiltTree t = BuildTree("<body><div><span _mark=''/></div></body>", &engine);
    CElement* span = t.marked;
    CElement* div = span->m_parent;
    EXPECT_EQ(7u, GetActualBackColor(span, 7));
    div->EditStyle().colorSet = 1;
    div->EditStyle().color = 0x112233;
    div->EditStyle().bkColorSet = 1;
    div->EditStyle().bkColor = 0x445566;
    EXPECT_EQ(0x112233u, GetActualColor(span));
    EXPECT_EQ(0x445566u, GetActualBackColor(span, 7));

    EXPECT_EQ(0x112233, ValidateColor(span, kColourTransparent));
    div->EditStyle().color = kColourTransparent; // a transparent ancestor is passed over
    t.root->EditStyle().color = 0x778899;
    EXPECT_EQ(0x778899, ValidateColor(span, kColourTransparent));
}
