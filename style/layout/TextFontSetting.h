#pragma once
// The font an element's text is measured and drawn with, worked out from
// its computed style by LoadCDCSetting. Text runs, images, list items and the
// other kinds that draw text build their text style from it; when it changes
// the element's Lay().m_textFontStale mark is set, so the style is made again.

#include "style/records/StyleText.h"

// Room of the family name: 29 UTF-16 units and the terminator.
constexpr int kTextFontFamilyUnits = 30;

struct TEXT_FONT_SETTING
{
    // Every laid-out element holds a font, and a document uses a few
    // families: the name is interned, so the record holds its address.
    CStyleText<kTextFontFamilyUnits> family{}; // default "Times New Roman"
    int size = 0;                              // the pixel height, negated
    int weight = 100;                          // 100 to 900
    bool italic = false;
    bool bold = false;
    bool underline = false;

    bool operator==(const TEXT_FONT_SETTING& o) const
    {
        return family == o.family && size == o.size && weight == o.weight && italic == o.italic
            && bold == o.bold && underline == o.underline;
    }
    bool operator!=(const TEXT_FONT_SETTING& o) const { return !(*this == o); }
};
