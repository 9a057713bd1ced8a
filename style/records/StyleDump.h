#pragma once
// A stable one-line text of the slots an ELEMENT_STYLE has set, for tests and
// inspection tools. Tokens "name=value" follow one another, separated by one
// space, in the record's own order; a record with nothing set gives the empty
// text. Names are the CSS property names where one fits:
//
//   background-color background-image background-repeat background-position
//   background-position-flags text-indent direction rtl-flag margin-top
//   margin-bottom margin-left margin-right font-size font-weight font-style
//   underline line-through no-decoration font-family font-number font
//   color text-align vertical-align float clear colspan rowspan border
//   border-attribute border-<side>-width border-<side>-style
//   border-<side>-color (sides left, top, right, bottom) cellspacing
//   padding-top padding-bottom padding-left padding-right width height
//   list-style-type list-style-position list-style-image -qm-lock
//   -qm-marker-color -qm-marker-background-color -qm-marker-border-color
//   -qm-marker-label caption-side line-height text-transform border-collapse
//
// Values:
//   lengths    "12px", "50%", "1.5em" (em held in hundredths), "auto" (box
//              size unit 3), "1.5" (a bare line height), "inherit" (the
//              inherit unit; "inherit:4px" when it also carries a length)
//   colours    "#rrggbb", "transparent", "inherit", "invalid"
//   keywords   the CSS word of a code ("solid", "right", "upper-roman" ...)
//   texts      in double quotes; '"', '\\' and control characters escaped
//              as \" \\ \n \r \t or \xHH
//   other      a number that has no word is written in decimal
//
// The font group writes each field whose own set byte is on (family with its
// font number), the no-decoration flag when it is on, and "font=set" when the
// group is set but nothing else of it shows. A border side writes its width
// and line style when it is set, its colour when its colour is set; the group
// writes "border=set" when its set byte is on. An untyped cell whose
// declaration said "inherit" writes "inherit". A typed cell (margins,
// paddings, text-indent, direction, float, clear) that carries the important
// mark adds "!important" to its value ("margin-left=5px!important").

#include "base/text/SafeBuf.h"
#include "style/records/ElementStyle.h"

enum StyleDumpOptions
{
    kStyleDumpPlain = 0,
    // Every token of a slot that records an origin gets "@<origin code>";
    // font fields taken from the parent get "@parent", untyped cells that came
    // from the style attribute "@inline".
    kStyleDumpOrigins = 1
};

// Replaces out with the text of style's set slots.
void DumpStyle(const ELEMENT_STYLE& style, CSafeBuf& out, int options = kStyleDumpPlain);
