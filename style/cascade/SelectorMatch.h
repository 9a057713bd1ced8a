#pragma once
// Selector matching: does a statement tree (style/sheets/StyleClass.h) hold
// for an element.
//
// With an element, its tag name and attributes are tested; the attribute map
// passed in (the cascade's extra attributes) is read where the element has no
// such attribute. With a null element, tag and attributes stand in for one
// that has no parent and no siblings, so combinator chains fail and
// ":first-child" holds.
//
// Rules of the tests:
//   type       the tag name, case counting; an empty type matches any tag
//   id         the "id" attribute equals the value
//   class      every name of the value is a word of the class list: the
//              "class" attribute joined with the map's "class" entry
//   attribute  present and not empty; "=" equal, "~=" one of the words,
//              "|=" equal or followed by "-"
//   :lang(x)   the nearest "lang" attribute from the element upwards is x or
//              begins with x and "-"
//   :first-child  no element sibling before it (text runs and comments
//              are passed over)
//   pseudo-elements and ::selection never match.
// Chains are walked from the right: a child or adjacent step must match the
// parent or the previous element sibling; a descendant step may match any
// ancestor. mode 1 skips class tests on the rightmost compound only.

#include "base/text/SafeBuf.h"

#include <memory>
#include <vector>

class CElement;
class CMapStringToString;
struct SELECTOR_STATEMENT;
struct STYLE_CLASS;
struct STYLE_SELECTOR;

// The "id" and "class" attributes of the elements met while one element is
// matched against many rules, each read once. Valid while the attributes of
// those elements do not change.
class CMatchContext
{
public:
    const CSafeBuf& Id(const CElement* e) { return Text(Find(e).id); }
    const CSafeBuf& Classes(const CElement* e) { return Text(Find(e).classes); }

private:
    struct Item
    {
        const CElement* e;
        std::unique_ptr<CSafeBuf> id; // null: none
        std::unique_ptr<CSafeBuf> classes;
    };
    Item& Find(const CElement* e);
    static const CSafeBuf& Text(const std::unique_ptr<CSafeBuf>& text);
    std::vector<Item> m_items;
};

bool StyleCheckCnd(CElement* e, SELECTOR_STATEMENT* statement, int mode, const unsigned short* tag,
    CMapStringToString* attributes);

// The first selector of the rule, in group order, that matches; null when
// none does or the rule is marked invalid.
STYLE_SELECTOR* DoesStyleFit(
    CElement* e, STYLE_CLASS* rule, int mode, const unsigned short* tag, CMapStringToString* attributes);
// The same for an element, sharing attribute look-ups across rules.
STYLE_SELECTOR* DoesStyleFit(CMatchContext& context, CElement* e, STYLE_CLASS* rule, int mode);
