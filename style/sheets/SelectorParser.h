#pragma once
// Selector parsing: a selector group ("h1, p.note") becomes the rule's chain
// of STYLE_SELECTOR records, each selector a tree of SELECTOR_STATEMENT steps
// (StyleClass.h).
//
// Grammar of one selector, as far as the cascade supports it:
//   - combinators ">", "+" and white space between compounds, read by their
//     position, so "ul > li a" is an "a" inside an "li" that is a child of a
//     "ul";
//   - in a compound, the first of these decides (the part before it is
//     parsed again as a further condition of the same element):
//       ":" a pseudo-class: lang(xx), first-child, first-line, first-letter,
//           before, after, and "::selection" (also "::first-line",
//           "::first-letter"); any other (":hover", ":link" ...) makes the
//           selector invalid;
//       "[" attribute tests "[name]", "[name=v]", "[name~=v]", "[name|=v]",
//           the value with or without quotes;
//       "." class names (".a.b" needs both);
//       "#" an id;
//       else "*" or a tag name.
//   - Class names and ids are letters, digits, "_", "-" and characters above
//     U+00A0, not starting with a digit.
// Quoted text and the inside of square brackets are never taken for syntax.
// An empty selector is invalid (it would otherwise match every element).
// An invalid selector is still stored; its rule is marked invalid and never
// matches.

#include "base/text/SafeBuf.h"

struct SELECTOR_STATEMENT;
struct STYLE_SELECTOR;
struct STYLE_CLASS;

// Parses one compound or combinator chain (text) into statement, which the
// caller made empty. elementName and classText, when given, receive the type
// name written left of a class and the class names of the rightmost
// compound. False when the selector is invalid (what was built stays linked
// to statement and is freed with it).
bool ParseSelectCnd(
    SELECTOR_STATEMENT* statement, const unsigned short* text, CSafeBuf* elementName, CSafeBuf* classText);

// Parses selector->text into a new statement tree (selector->statement),
// filling its element name and class text. False when it is invalid.
bool ParseSelectStr(STYLE_SELECTOR* selector);

// The whole selector group of a rule: stores the text (trimmed on the left),
// splits it at the commas that stand outside quotes, brackets and
// parentheses, appends one selector per piece, marks the rule invalid when
// any piece fails, and computes the specificities (CalcSelectPrecedence).
void ParseSelectorGroup(STYLE_CLASS* rule, const unsigned short* text);
