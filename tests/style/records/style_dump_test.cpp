// The one-line text of a style record: what a reader of the dump (the
// parser's case files, the style tool) relies on.

#include "style/records/StyleDump.h"

#include "style/records/StyleRecords.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

namespace {

std::string Dump(const ELEMENT_STYLE& style, int options = kStyleDumpPlain)
{
    CSafeBuf out("stale");
    DumpStyle(style, out, options);
    return qmtest::ToUtf8(out);
}

} // namespace

TEST(StyleDump, EmptyRecordGivesEmptyText)
{
    ELEMENT_STYLE style{};
    EXPECT_EQ(Dump(style), "");
    // The border defaults of a rule do not show while no side is set.
    for (BORDER_SIDE& side : style.border) {
        side.style = kLineNone;
        side.width = 3;
    }
    EXPECT_EQ(Dump(style), "");
}

TEST(StyleDump, SlotsInRecordOrderWithOrigins)
{
    ELEMENT_STYLE style{};
    SetStyleType(&style.marginLeft, -150, kUnitEm, 0, kOriginRule, true, false, false, nullptr);
    SetStyleType(&style.paddingTop, 0, kUnitInherit, 0, kOriginStyleAttribute, true, false, false, nullptr);
    style.colorSet = 1;
    style.color = 0x0000FF; // red in the low byte
    style.colorOrigin = kOriginRule;
    style.border[kBorderTop].set = 1;
    style.border[kBorderTop].width = 2;
    style.border[kBorderTop].style = kLineDashed;
    style.borderOrigin = kOriginRule;
    style.lineHeight.set = true;
    style.lineHeight.value = (kUnitFontHundredths << 16) | 150;
    style.markerLabel.set = true;
    style.markerLabel.inlineStyle = true;
    const char16_t label[] = u"a\"b\\c\nd\x01";
    style.markerLabel.text.Set(reinterpret_cast<const unsigned short*>(label));
    EXPECT_EQ(Dump(style),
        "margin-left=-1.5em color=#ff0000 border-top-width=2px border-top-style=dashed padding-top=inherit "
        "-qm-marker-label=\"a\\\"b\\\\c\\nd\\x01\" line-height=1.5");
    EXPECT_EQ(Dump(style, kStyleDumpOrigins),
        "margin-left=-1.5em@3 color=#ff0000@3 border-top-width=2px@3 border-top-style=dashed@3 "
        "padding-top=inherit@2 -qm-marker-label=\"a\\\"b\\\\c\\nd\\x01\"@inline line-height=1.5");
}
