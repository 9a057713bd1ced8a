#pragma once
// The small functions on style cells: fill a cell, compare origins, merge one
// cell into another under origin priority, and resolve an "inherit" value
// from the ancestors. The cascade merges whole records cell by cell with
// these; the property parser fills cells with SetStyleType.
//
// Every function accepts null cells and then does nothing (and answers false).

#include "style/records/ElementStyle.h"

class CElement;

// Fills a cell in one call. text is copied only when given, at most 29
// characters (a longer text is cut).
void SetStyleType(STYLE_TYPE* cell, long value, int unit, int flag, int origin, bool set, bool inherit,
    bool important, const unsigned short* text);

void SetStyleInherit(STYLE_TYPE* cell, bool inherit);

// True when origin a ranks below origin b in g_priority; also true when
// either lies outside 1..3 and when they are equal.
bool CheckStylePriority(int a, int b);

// Merges source into target as coming from origin; answers whether target
// was written.
//  - With clear: a target of that origin loses its set and important marks
//    when the source is set; nothing else changes and the answer is false.
//  - An unset source changes nothing.
//  - A set target with an origin in 1..3 and the important mark (the
//    element's own "!important" value) keeps its value against a source
//    without the mark.
//  - When the target's origin and origin both lie in 1..3 and differ, a
//    target that does not rank below origin keeps its value, unless the
//    source is important and the target is not.
//  - Otherwise the whole source cell is copied over the target, which takes
//    origin as its origin; it is important when it was already its own
//    important value or the source is important. (A mark copied from a
//    parent, origin 0, does not stay.)
bool CheckSetStyleType(STYLE_TYPE* target, STYLE_TYPE* source, int origin, bool clear);

// Merges an untyped cell: nothing when the source is not set, or when the
// target is set (not inherited), inline or explicit while the source is not
// explicit.
// Otherwise the source is copied whole and the target is marked inline
// exactly when origin is the style attribute (2). Answers whether target was
// written.
bool ApplyNewTypeStyle(NewIntStyleValue* source, NewIntStyleValue* target, int origin);
bool ApplyNewTypeStyle(NewStringStyleValue* source, NewStringStyleValue* target, int origin);

// Which property ApplyInheritValue resolves.
enum InheritProperty
{
    kInheritBackgroundColor = 0,
    kInheritBorderColorTop = 1, // 1..4: top, bottom, left, right
    kInheritBorderColorBottom = 2,
    kInheritBorderColorLeft = 3,
    kInheritBorderColorRight = 4,
    kInheritLineStyleTop = 6, // 6..9: top, bottom, left, right
    kInheritLineStyleBottom = 7,
    kInheritLineStyleLeft = 8,
    kInheritLineStyleRight = 9,
    kInheritPaddingTop = 11, // 11..14: top, bottom, left, right
    kInheritPaddingBottom = 12,
    kInheritPaddingLeft = 13,
    kInheritPaddingRight = 14
};

// Resolves an "inherit" value of one property of e's style from the nearest
// ancestor that has one:
//  - background colour (value -3): an ancestor whose background colour is
//    set or has an origin lends its colour;
//  - border colour of a side (value -3): the parent's colour for that side,
//    as its border would show it: the side's own colour when it sets one
//    (whether or not the parent draws that side), else its text colour;
//  - line style of a side (value 107): an ancestor whose border group is set
//    or came from the border attribute lends that side's line style;
//  - padding of a side (a negative unit passed as value): an ancestor whose
//    padding cell is set or important lends the whole cell, whose unit then
//    keeps the inherit bit 0x80000000.
// Answers whether a value was taken; other selectors and values, and an
// element without such an ancestor, change nothing.
bool ApplyInheritValue(CElement* e, int value, int which);
