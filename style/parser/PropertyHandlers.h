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
class CXDocServices;

namespace qm::css {

using PropertyHandler = bool (*)(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

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
bool ParseBoxSide(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
// "margin" and "padding": one to four lengths; box is kMargins or kPaddings.
bool ParseBoxSides(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int box);
bool ParseTextIndent(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
// "width" (kBoxWidth) and "height" (kBoxHeight).
bool ParseBoxSize(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

bool ParseFontShorthand(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseBackgroundShorthand(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseListStyleShorthand(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

// "border" (kAllSides) and "border-left" ... (a BorderSide).
bool ParseBorderShorthand(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side);
// "border-<side>-color" and "border-color" (kAllSides: one to four colours).
bool ParseBorderColor(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side);
// "border-<side>-style" and "border-style".
bool ParseBorderStyle(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side);
// "border-<side>-width" and "border-width".
bool ParseBorderWidth(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int side);

// Keyword and text properties (TextValue.cpp).
bool ParseDirection(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseTextDecoration(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseCaptionSide(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseTextTransform(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseLineHeightProperty(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseTextAlign(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseVerticalAlign(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseFloat(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseClear(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseBorderCollapse(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseTextColour(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

// The editor's own properties (EditorProperties.cpp); which of the marker
// colours is kMarkerText, kMarkerBorder or kMarkerBackground.
constexpr int kMarkerText = 0;
constexpr int kMarkerBorder = 1;
constexpr int kMarkerBackground = 2;
bool ParseLock(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseMarkerLabel(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);
bool ParseMarkerColour(CXDocServices& doc, ELEMENT_STYLE& style, CSafeBuf& value, int which);

// "line-height", also the part after "/" of the "font" shorthand: a length
// or percentage (unit in the high 16 bits, number in the low 16 bits), else
// a plain number stored as unit 3 in hundredths. Negative heights are
// rejected, and numbers are held within 0..32767.
bool ParseLineHeight(CXDocServices& doc, NewIntStyleValue& cell, CSafeBuf& value);

} // namespace qm::css
