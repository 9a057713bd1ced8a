#pragma once
// The cells of a style record. Three kinds of cell carry one property value:
//
//   STYLE_TYPE           a value with its own origin (margins, paddings,
//                        text-indent, direction, float, clear);
//   NewIntStyleValue     an integer without origin (list style, lock, marker
//                        colours, caption side, line height, text transform,
//                        border collapse);
//   NewStringStyleValue  a text without origin (list image, marker label).
//
// Origins tell where a value came from, and the cascade lets a value of
// higher rank replace one of lower rank:
//
//   code  origin                                     rank in g_priority
//   0     not set                                    none
//   1     presentational attribute (align, border)   lowest
//   3     style-sheet rule (also cellpadding, dir)   middle
//   2     the element's style attribute              highest
//
// The cells are plain records: zero bytes are the unset state, and records
// are copied byte for byte (texts are interned, StyleText.h).

#include "style/records/StyleText.h"

#include <cstdint>

constexpr int kOriginNone = 0;
constexpr int kOriginAttribute = 1;
constexpr int kOriginStyleAttribute = 2;
constexpr int kOriginRule = 3;

// Origins in rising rank: a later entry beats an earlier one.
extern const int g_priority[3];

// The unit code that marks an "inherit" value.
constexpr std::int32_t kUnitInherit = static_cast<std::int32_t>(0x80000000u);

// Units of lengths: pixels, percent, em in hundredths, hundredths of the
// element's actual font size (bare line heights).
constexpr int kUnitPixels = 0;
constexpr int kUnitPercent = 1;
constexpr int kUnitEm = 2;
constexpr int kUnitFontHundredths = 3;

// Room of STYLE_TYPE::text: 29 characters and the terminator.
constexpr int kStyleTypeTextUnits = 30;
// Room of NewStringStyleValue::text: 99 characters and the terminator.
constexpr int kStyleStringUnits = 100;

struct STYLE_TYPE
{
    bool set;                             // the cell holds a value
    bool important;                       // kept across a merge
    std::uint8_t origin;                  // origin code (above)
    std::int32_t value;                   // for lengths: the number in `unit`
    CStyleText<kStyleTypeTextUnits> text; // no property fills it
    std::int32_t unit;                    // length unit, or kUnitInherit
    bool inherit;                         // the value may pass to children
    bool flag;                            // set only for text-indent
};

struct NewIntStyleValue
{
    bool set;
    bool inlineStyle;       // the value came from the style attribute
    bool explicitValue;     // the value was given explicitly
    bool inherit;           // the declaration said "inherit"
    std::int32_t inherited; // the value was copied from the parent
    std::int32_t value;
};

struct NewStringStyleValue
{
    bool set;
    bool inlineStyle;
    bool explicitValue;
    std::int16_t inherited;
    CStyleText<kStyleStringUnits> text;
};
