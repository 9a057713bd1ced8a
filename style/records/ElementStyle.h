#pragma once
// ELEMENT_STYLE: the fixed block of CSS property slots that every element
// carries as its computed style. The same record heads every parsed style
// rule, where it holds what the rule's declarations set, and is the scratch
// record into which a style attribute is parsed.
//
// Most properties live in plain groups: a set byte, the value fields and an
// origin byte for the group (origin codes: StyleType.h). A few use the typed
// cells of StyleType.h. Zero bytes everywhere are the unset state, so
// `ELEMENT_STYLE style{}` is an empty record; records copy byte for byte.
//
// Colours are packed RGB values (base/geometry/Colour.h) or the special codes
// -1 invalid, -2 transparent, -3 inherit. Text fields are interned texts
// (StyleText.h) that hold at most their room less one unit.

#include "style/records/StyleType.h"
#include "style/values/BorderValues.h"

#include <cstdint>
#include <type_traits>

// Text room of the text fields, terminator included.
constexpr int kBackgroundImageUnits = 512;
constexpr int kFontFamilyUnits = 61;

// Border sides, in the order of ELEMENT_STYLE::border.
enum BorderSide
{
    kBorderLeft = 0,
    kBorderTop = 1,
    kBorderRight = 2,
    kBorderBottom = 3
};

// Border line styles: kLineSolid ... kLineNotAStyle (style/values/BorderValues.h).

// Special colour codes.
constexpr std::int32_t kColourInvalid = -1;
constexpr std::int32_t kColourTransparent = -2;
constexpr std::int32_t kColourInherit = -3;

// Float sides and clear values.
constexpr std::int32_t kFloatNone = 0;
constexpr std::int32_t kFloatLeft = 16;
constexpr std::int32_t kFloatRight = 64;
constexpr std::int32_t kFloatBoth = 80;

// The alignment word: vertical alignment in the low four bits, horizontal
// alignment above them.
constexpr std::uint16_t kAlignTop = 1;
constexpr std::uint16_t kAlignMiddle = 2;
constexpr std::uint16_t kAlignBottom = 4;
constexpr std::uint16_t kAlignVerticalMask = 0x000F;
constexpr std::uint16_t kAlignLeft = 16;
constexpr std::uint16_t kAlignCenter = 32;
constexpr std::uint16_t kAlignRight = 64;
constexpr std::uint16_t kAlignHorizontalMask = 0xFFF0;

// Values of the direction cell.
constexpr std::int32_t kDirectionRtl = 64;
constexpr std::int32_t kDirectionLtr = 16;

struct BORDER_SIDE
{
    std::int32_t style; // line style code
    std::int32_t width;
    std::int32_t unit;
    std::int32_t color; // packed colour
    std::uint8_t set;
    std::uint8_t colorSet;
    // Always zero. Without it these would be padding, which a side assigned
    // from a temporary fills with whatever the temporary held: equal sides
    // would then differ in bytes, and records are compared byte for byte.
    std::uint8_t reserved[2] = {};
};
static_assert(std::has_unique_object_representations_v<BORDER_SIDE>, "a border side has no padding");

struct ELEMENT_STYLE
{
    // 1. Background colour.
    std::uint8_t bkColorSet;
    std::int32_t bkColor;
    std::uint8_t bkColorOrigin;

    // 2. Background image and its placement. bkRepeat: 1 repeat, 2 repeat-x,
    // 4 repeat-y, 8 no-repeat, with the position flags 0x100 right, 0x200
    // bottom, 0x400 centred horizontally, 0x800 centred vertically.
    // bkPositionKinds: low byte set when the horizontal position is a
    // length, 0x100 when the vertical one is.
    std::uint8_t bkImageSet;
    CStyleText<kBackgroundImageUnits> bkImage;
    std::uint16_t bkRepeat;
    std::int16_t bkPositionX;
    std::int16_t bkPositionY;
    std::uint16_t bkPositionKinds;
    std::uint8_t bkImageOrigin;

    // 3. text-indent (its flag is set).
    STYLE_TYPE textIndent;

    // 4. direction (kDirectionRtl or kDirectionLtr) and the element's
    // right-to-left flag that follows it.
    STYLE_TYPE direction;
    std::int32_t rtl;

    // 5. Margins.
    STYLE_TYPE marginTop;
    STYLE_TYPE marginBottom;
    STYLE_TYPE marginLeft;
    STYLE_TYPE marginRight;

    // 6. Font. fontSizeUnit: 0 pixels, 1 percent of the parent, 2 em in
    // hundredths. fontWeight 100 to 900. fontNumber: the platform font
    // chosen for the family.
    std::uint8_t fontSet;
    std::int16_t fontSize;
    std::int16_t fontSizeUnit;
    std::uint8_t italic;
    std::uint8_t underline;
    std::uint8_t lineThrough;
    std::int32_t fontWeight;
    std::int16_t noDecoration;
    CStyleText<kFontFamilyUnits> fontFamily;
    std::int32_t fontNumber;
    std::uint8_t fontOrigin;
    // Taken from the parent, one byte each.
    std::uint8_t weightInherited;
    std::uint8_t underlineInherited;
    std::uint8_t italicInherited;
    std::uint8_t sizeInherited;
    std::uint8_t familyInherited;
    std::uint8_t lineThroughInherited;
    // Set, one byte each, in the same order.
    std::uint8_t weightSet;
    std::uint8_t underlineSet;
    std::uint8_t italicSet;
    std::uint8_t sizeSet;
    std::uint8_t familySet;
    std::uint8_t lineThroughSet;
    std::uint8_t weightExplicit;
    std::uint8_t italicExplicit;

    // 7. Text colour (grey, red, green and blue 128, when its origin is
    // cleared).
    std::uint8_t colorSet;
    std::int32_t color;
    std::uint8_t colorOrigin;

    // 8. Alignment word and the set and origin bytes of its two halves.
    std::uint8_t hAlignSet;
    std::uint8_t hAlignOrigin;
    std::uint8_t vAlignSet;
    std::uint8_t vAlignOrigin;
    std::uint16_t align;

    // 9. float and clear (kFloat... values).
    STYLE_TYPE floatSide;
    STYLE_TYPE clear;

    // 10. Table spans (0 = none).
    std::int16_t colSpan;
    std::int16_t rowSpan;

    // 11. Borders: left, top, right, bottom (BorderSide).
    std::uint8_t borderSet;
    BORDER_SIDE border[4];

    // 12. Cell spacing, 0 to 100.
    std::int16_t cellSpacing;
    std::uint8_t cellSpacingSet;

    // 13. Paddings.
    STYLE_TYPE paddingTop;
    STYLE_TYPE paddingBottom;
    STYLE_TYPE paddingLeft;
    STYLE_TYPE paddingRight;

    // 14. Origin of the border group, and whether the borders came from the
    // border attribute.
    std::uint8_t borderOrigin;
    std::uint8_t borderFromAttribute;

    // 15. Box size. Units: 0 pixels, 1 percent, 3 auto.
    std::uint8_t widthSet;
    std::uint8_t heightSet;
    std::int16_t widthUnit;
    std::int16_t width;
    std::int16_t heightUnit;
    std::int16_t height;
    std::uint8_t widthOrigin;
    std::uint8_t heightOrigin;

    // 16. List style: type 0 disc ... 14 none; position 1 inside, 2 outside.
    NewIntStyleValue listType;
    NewIntStyleValue listPosition;
    NewStringStyleValue listImage;

    // 17. Editor lock (-qm-lock): 1 locked, 0 not.
    NewIntStyleValue lock;

    // 18. Tag marker: colours (packed) and label.
    NewIntStyleValue markerColor;
    NewIntStyleValue markerBackgroundColor;
    NewIntStyleValue markerBorderColor;
    NewStringStyleValue markerLabel;

    // 19. caption-side: 1 top, 4 bottom.
    NewIntStyleValue captionSide;

    // 20. line-height: the unit in the high 16 bits and the number in the
    // low 16 bits; a bare number is unit 3 in hundredths.
    NewIntStyleValue lineHeight;

    // 21. text-transform: 1 capitalize, 2 uppercase, 3 lowercase, 4 none.
    NewIntStyleValue textTransform;

    // 22. border-collapse: 1 collapse, 0 separate.
    NewIntStyleValue borderCollapse;
};
