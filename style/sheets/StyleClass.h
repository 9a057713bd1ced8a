#pragma once
// The records of a parsed style sheet. A sheet is a chain of STYLE_CLASS
// rules in sheet order; each rule holds what its declarations set (an
// ELEMENT_STYLE of origin 3), its declarations as written and its selector
// group. Each selector of the group is a tree of SELECTOR_STATEMENT steps:
//
//   - A compound ("p.note[title]") is a chain of conditions linked through
//     nextCondition, all of which must hold for one element: "p.note" is a
//     class statement whose next condition is the type statement "p".
//   - A selector with combinators ("ul > li a") is a chain of steps linked
//     through nextStep, read from the right: each step's own kind is the
//     combinator written to the left of its compound (child 13, descendant 14,
//     adjacent 6) and its compound hangs on nextCondition. The leftmost step
//     repeats the kind of the step before it.
//
// Texts are growable and kept whole: the selector text and the raw
// declarations are the author's and are written back as they were read.
//
// Records are made and freed only through the functions below (and the
// document's rule-list functions), which copy and free without recursion so
// that chains of any length are safe.

#include "base/text/SafeBuf.h"
#include "style/records/ElementStyle.h"

#include <cstdint>
#include <vector>

// Kinds of SELECTOR_STATEMENT.
enum SelectorKind
{
    kSelectorUniversal = 1,    // "*"
    kSelectorType = 2,         // a tag name
    kSelectorId = 3,           // "#id"
    kSelectorClass = 4,        // ".a.b": value holds the names separated by spaces
    kSelectorAttribute = 5,    // "[name]", "[name=value]", "[name~=value]", "[name|=value]"
    kSelectorAdjacent = 6,     // "+"
    kSelectorLang = 7,         // ":lang(xx)"
    kSelectorFirstChild = 8,   // ":first-child"
    kSelectorFirstLine = 9,    // ":first-line"
    kSelectorFirstLetter = 10, // ":first-letter"
    kSelectorBefore = 11,      // ":before"
    kSelectorAfter = 12,       // ":after"
    kSelectorChild = 13,       // ">"
    kSelectorDescendant = 14,  // white space
    kSelectorSelection = 15    // "::selection"
};

// Operators of an attribute statement.
enum SelectorOperator
{
    kAttrPresent = 0, // [name]
    kAttrEquals = 1,  // [name=value]
    kAttrWord = 3,    // [name~=value]: one of the space-separated words
    kAttrDashed = 5   // [name|=value]: equal, or the value followed by "-"
};

struct SELECTOR_STATEMENT
{
    std::int32_t kind = 0;
    CSafeBuf name;  // attribute name, pseudo-class text, or "lang"
    CSafeBuf value; // type name, id, class list, attribute value or language
    std::int32_t op = kAttrPresent;
    SELECTOR_STATEMENT* nextStep = nullptr;      // the next step to the left
    SELECTOR_STATEMENT* nextCondition = nullptr; // the next condition of a compound
};

struct STYLE_SELECTOR
{
    CSafeBuf elementName; // the type name written left of a class, if any
    CSafeBuf classText;   // the class names of the rightmost compound
    CSafeBuf text;        // the selector as written, trimmed
    SELECTOR_STATEMENT* statement = nullptr;
    std::uint32_t specificity = 0;
    STYLE_SELECTOR* next = nullptr;
};

// One declaration as written: the property name and its value, trimmed.
struct STYLE_DECLARATION
{
    CSafeBuf name;
    CSafeBuf value;
};

struct STYLE_CLASS
{
    ELEMENT_STYLE style{}; // what the declarations set, origin 3
    CSafeBuf selectorText; // the selector group as written, trimmed on the left
    // Every declaration of the rule in order, understood or not.
    std::vector<STYLE_DECLARATION> declarations;
    // The specificity under which a rule collected for an element's extra
    // rule list is applied (see GetCSSFromExtra).
    std::uint32_t precedence = 0;
    std::uint8_t invalid = 0; // a selector of the group failed: never matches
    STYLE_SELECTOR* selectors = nullptr;
    STYLE_CLASS* next = nullptr;

    int DeclarationCount() const { return static_cast<int>(declarations.size()); }
};

// The first statement of kind along a compound's conditions (the statement
// itself first); null when none.
SELECTOR_STATEMENT* FindStyleStm(int kind, SELECTOR_STATEMENT* statement);

// Frees a statement tree (steps and conditions), a chain of selectors with
// their statements, and a chain of rules with everything they hold. Null does
// nothing.
void FreeStyleStm(SELECTOR_STATEMENT* statement);
void FreeStyleSelector(STYLE_SELECTOR* selector);
void FreeStyleClassList(STYLE_CLASS* rules);

// Deep copies; null for null (or when memory runs out: nothing half made is
// returned).
SELECTOR_STATEMENT* CopyStyleStatement(const SELECTOR_STATEMENT* statement);
STYLE_SELECTOR* CopyStyleSelectors(const STYLE_SELECTOR* selectors);
STYLE_CLASS* CopyStyleClassList(const STYLE_CLASS* rules);
