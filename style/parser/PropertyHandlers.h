#pragma once
// The property handlers of the CSS property parser, one per family of
// properties. CXDoc::ParseCSSStyleString finds a declaration's handler by the
// property name; which tells a handler which member of its family it serves
// (a border side, a box side, a marker colour ...). Every handler answers
// true when it understood the value and then has written style; a handler
// that answers false has left style as it was ("text-decoration" excepted:
// it marks the font group before it tests the value).

#include "style/records/ElementStyle.h"

class CSafeBuf;
class CXDoc;

namespace qm::css {

using PropertyHandler = bool (*)(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

// Border sides as the "border" handlers number them; kAllSides for the
// properties that cover all four.
constexpr int kAllSides = -1;

// which of the box handlers: the box (margins or paddings) plus a
// BorderSide, or the box size.
constexpr int kMargins = 0x10;
constexpr int kPaddings = 0x20;
constexpr int kBoxMask = 0x30;
constexpr int kBoxWidth = 1;
constexpr int kBoxHeight = 2;

// "margin-top" ... "padding-right": which is kMargins or kPaddings plus the side.
bool ParseBoxSide(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
// "margin" and "padding": one to four lengths; box is kMargins or kPaddings.
bool ParseBoxSides(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int box);
bool ParseTextIndent(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
// "width" (kBoxWidth) and "height" (kBoxHeight).
bool ParseBoxSize(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

bool ParseFontShorthand(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseBackgroundShorthand(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseListStyleShorthand(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

// "border" (kAllSides) and "border-left" ... (a BorderSide).
bool ParseBorderShorthand(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side);
// "border-<side>-color" and "border-color" (kAllSides: one to four colours).
bool ParseBorderColor(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side);
// "border-<side>-style" and "border-style".
bool ParseBorderStyle(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side);
// "border-<side>-width" and "border-width".
bool ParseBorderWidth(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side);

// Keyword and text properties (TextValue.cpp).
bool ParseDirection(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseTextDecoration(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseCaptionSide(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseTextTransform(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseLineHeightProperty(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseTextAlign(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseVerticalAlign(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseFloat(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseClear(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseBorderCollapse(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseTextColour(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

// The editor's own properties (EditorProperties.cpp); which of the marker
// colours is kMarkerText, kMarkerBorder or kMarkerBackground.
constexpr int kMarkerText = 0;
constexpr int kMarkerBorder = 1;
constexpr int kMarkerBackground = 2;
bool ParseLock(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseMarkerLabel(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseMarkerColour(CXDoc& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

// "line-height", also the part after "/" of the "font" shorthand: a length
// or percentage (unit in the high 16 bits, number in the low 16 bits), else
// a plain number stored as unit 3 in hundredths. Negative heights are
// rejected, and numbers are held within 0..32767.
bool ParseLineHeight(CXDoc& doc, NewIntStyleValue& cell, CSafeBuf& value);

} // namespace qm::css
