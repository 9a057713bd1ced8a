// Selector parsing. Positions are found on a masked copy of the text, in
// which quoted stretches (and, where asked, the inside of square brackets)
// are replaced by "_", and the pieces are cut from the text as written. So a
// "," or ":" inside a quoted attribute value is never syntax.

#include "style/sheets/SelectorParser.h"

#include "base/text/Ascii.h"
#include "base/text/U16.h"
#include "style/sheets/Specificity.h"
#include "style/sheets/StyleClass.h"

#include <new>
#include <vector>

namespace {

bool IsWhite(unsigned short c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Quoted stretches (quotes included) become "_"; with brackets set, so does
// everything between "[" and its "]", the brackets themselves kept.
CSafeBuf Masked(const CSafeBuf& text, bool brackets)
{
    CSafeBuf out(text);
    unsigned short quote = 0;
    int depth = 0;
    for (int i = 0; i < out.Length(); ++i) {
        const unsigned short c = out.GetAt(i);
        if (quote) {
            if (c == quote)
                quote = 0;
            out.SetAt(i, '_');
        } else if (c == '"' || c == '\'') {
            quote = c;
            out.SetAt(i, '_');
        } else if (brackets && c == '[') {
            ++depth;
        } else if (brackets && c == ']' && depth > 0) {
            --depth;
        } else if (depth > 0) {
            out.SetAt(i, '_');
        }
    }
    return out;
}

CSafeBuf Trimmed(const CSafeBuf& text)
{
    CSafeBuf out(text);
    out.Trim();
    return out;
}

// Letters, digits, "_", "-" and characters above U+00A0, not starting with
// a digit.
bool IsValidName(const CSafeBuf& name)
{
    if (name.IsEmpty() || IsAsciiDigit(name.GetAt(0)))
        return false;
    for (int i = 0; i < name.Length(); ++i) {
        const unsigned short c = name.GetAt(i);
        if (!(IsAsciiAlnum(c) || c == '_' || c == '-' || c > 160))
            return false;
    }
    return true;
}

bool ParseCompound(SELECTOR_STATEMENT* s, const CSafeBuf& text, CSafeBuf* elementName, CSafeBuf* classText);

// Parses text as a new statement hung on s as its next condition.
bool ParseCondition(SELECTOR_STATEMENT* s, const CSafeBuf& text, CSafeBuf* elementName, CSafeBuf* classText)
{
    SELECTOR_STATEMENT* c = new SELECTOR_STATEMENT;
    c->nextCondition = s->nextCondition;
    s->nextCondition = c;
    return ParseCompound(c, text, elementName, classText);
}

bool ParsePseudo(
    SELECTOR_STATEMENT* s, const CSafeBuf& text, int colon, CSafeBuf* elementName, CSafeBuf* classText)
{
    CSafeBuf pseudo = Trimmed(text.Mid(colon + 1, text.Length()));
    CSafeBuf lower(pseudo);
    lower.MakeLower();
    if (lower.Find("lang") == 0 && pseudo.Length() >= 7) {
        s->kind = kSelectorLang;
        s->name = "lang";
        const int open = pseudo.Find('(');
        int close = pseudo.Find(')', open + 1);
        if (close < 0)
            close = pseudo.Length();
        if (open >= 0)
            s->value = Trimmed(pseudo.Mid(open + 1, close - open - 1));
    } else {
        if (lower == "first-child")
            s->kind = kSelectorFirstChild;
        else if (lower == "first-line" || lower == ":first-line")
            s->kind = kSelectorFirstLine;
        else if (lower == "first-letter" || lower == ":first-letter")
            s->kind = kSelectorFirstLetter;
        else if (lower == ":selection")
            s->kind = kSelectorSelection;
        else if (lower == "before")
            s->kind = kSelectorBefore;
        else if (lower == "after")
            s->kind = kSelectorAfter;
        else
            return false; // :hover, :link, :focus ... are not supported
        s->name = pseudo;
    }
    if (colon == 0)
        return true;
    CSafeBuf before = Trimmed(text.Left(colon));
    return before.IsEmpty() || ParseCondition(s, before, elementName, classText);
}

// One "[...]" piece into s.
void FillAttribute(SELECTOR_STATEMENT* s, const CSafeBuf& piece)
{
    s->kind = kSelectorAttribute;
    const int eq = Masked(piece, false).Find('=');
    if (eq < 0) {
        s->name = Trimmed(piece);
        s->op = kAttrPresent;
        return;
    }
    CSafeBuf name = piece.Left(eq);
    s->op = kAttrEquals;
    const unsigned short last = name.GetAt(name.Length() - 1);
    if (!name.IsEmpty() && (last == '~' || last == '|')) {
        s->op = last == '~' ? kAttrWord : kAttrDashed;
        name = name.Left(name.Length() - 1);
    }
    s->name = Trimmed(name);
    CSafeBuf value = Trimmed(piece.Mid(eq + 1, piece.Length()));
    const unsigned short first = value.GetAt(0);
    if (value.Length() >= 2 && (first == '"' || first == '\'') && value.GetAt(value.Length() - 1) == first)
        value = value.Mid(1, value.Length() - 2);
    s->value = value;
}

bool ParseAttributes(SELECTOR_STATEMENT* s, const CSafeBuf& text, const CSafeBuf& masked,
    CSafeBuf* elementName, CSafeBuf* classText)
{
    int open = masked.Find('[');
    bool valid = true;
    bool used = false; // s itself holds a condition already
    SELECTOR_STATEMENT* tail = s;
    if (open > 0) {
        CSafeBuf before = Trimmed(text.Left(open));
        if (!before.IsEmpty()) {
            valid = ParseCompound(s, before, elementName, classText);
            used = true;
            while (tail->nextCondition)
                tail = tail->nextCondition;
        }
    }
    int from = open;
    while (from < masked.Length()) {
        open = masked.Find('[', from);
        const int stop = open < 0 ? masked.Length() : open;
        for (int i = from; i < stop; ++i) {
            if (!IsWhite(masked.GetAt(i)))
                valid = false; // text between the brackets
        }
        if (open < 0)
            break;
        const int close = masked.Find(']', open + 1);
        if (close < 0)
            return false; // an unclosed bracket
        from = close + 1;
        const CSafeBuf piece = text.Mid(open + 1, close - open - 1);
        SELECTOR_STATEMENT attribute;
        FillAttribute(&attribute, piece);
        if (attribute.name.IsEmpty())
            continue;
        if (!IsValidName(attribute.name))
            valid = false; // "[1a]", "[a b]", "[ns|a]"
        SELECTOR_STATEMENT* target = s;
        if (used) {
            target = new SELECTOR_STATEMENT;
            tail->nextCondition = target;
            tail = target;
        }
        used = true;
        target->kind = attribute.kind;
        target->name = attribute.name;
        target->value = attribute.value;
        target->op = attribute.op;
    }
    return valid && used;
}

bool ParseClasses(
    SELECTOR_STATEMENT* s, const CSafeBuf& text, int dot, CSafeBuf* elementName, CSafeBuf* classText)
{
    bool valid = true;
    CSafeBuf names;
    const CSafeBuf rest = text.Mid(dot + 1, text.Length());
    int start = 0;
    for (int i = 0; i <= rest.Length(); ++i) {
        if (i < rest.Length() && rest.GetAt(i) != '.')
            continue;
        const CSafeBuf name = rest.Mid(start, i - start);
        valid = valid && IsValidName(name);
        if (!names.IsEmpty())
            names += ' ';
        names += name;
        start = i + 1;
    }
    s->kind = kSelectorClass;
    s->value = names;
    if (classText)
        *classText = names;
    if (dot == 0)
        return valid;
    CSafeBuf before = Trimmed(text.Left(dot));
    if (before.IsEmpty())
        return valid;
    if (elementName)
        *elementName = before;
    return ParseCondition(s, before, nullptr, nullptr) && valid;
}

bool ParseCompound(SELECTOR_STATEMENT* s, const CSafeBuf& text, CSafeBuf* elementName, CSafeBuf* classText)
{
    if (text.IsEmpty())
        return false;
    const CSafeBuf masked = Masked(text, true);
    const int colon = masked.Find(':');
    if (colon >= 0)
        return ParsePseudo(s, text, colon, elementName, classText);
    if (masked.Find('[') >= 0)
        return ParseAttributes(s, text, masked, elementName, classText);
    const int dot = masked.Find('.');
    if (dot >= 0)
        return ParseClasses(s, text, dot, elementName, classText);
    const int hash = masked.Find('#');
    if (hash >= 0) {
        s->kind = kSelectorId;
        s->value = Trimmed(text.Mid(hash + 1, text.Length()));
        bool valid = IsValidName(s->value);
        CSafeBuf before = Trimmed(text.Left(hash));
        if (!before.IsEmpty())
            valid = ParseCondition(s, before, elementName, classText) && valid;
        return valid;
    }
    s->kind = text == "*" ? kSelectorUniversal : kSelectorType;
    s->value = text;
    // A type name is a name: "1p", "p!", "ns|p" or a "~" that no
    // combinator takes are not.
    return s->kind == kSelectorUniversal || IsValidName(text);
}

// Whether a compound holds a pseudo-element, which may only stand in the
// last compound of a selector.
bool HasPseudoElement(const SELECTOR_STATEMENT* s)
{
    for (; s; s = s->nextCondition) {
        switch (s->kind) {
        case kSelectorFirstLine:
        case kSelectorFirstLetter:
        case kSelectorBefore:
        case kSelectorAfter:
        case kSelectorSelection: return true;
        }
    }
    return false;
}

struct Compound
{
    int start;
    int end;
    int combinator; // the combinator written left of this compound; 0 for the first
};

// The compounds of a selector and the combinators between them, by position.
std::vector<Compound> SplitCompounds(const CSafeBuf& masked)
{
    std::vector<Compound> compounds;
    int i = 0;
    const int n = masked.Length();
    while (i < n) {
        bool child = false, adjacent = false, any = false;
        while (i < n) {
            const unsigned short c = masked.GetAt(i);
            if (c == '>')
                child = true;
            else if (c == '+')
                adjacent = true;
            else if (!IsWhite(c))
                break;
            any = true;
            ++i;
        }
        if (i >= n)
            break;
        const int start = i;
        while (i < n) {
            const unsigned short c = masked.GetAt(i);
            if (c == '>' || c == '+' || IsWhite(c))
                break;
            ++i;
        }
        int combinator = 0;
        if (!compounds.empty() && any)
            combinator = child ? kSelectorChild : adjacent ? kSelectorAdjacent : kSelectorDescendant;
        compounds.push_back(Compound{start, i, combinator});
    }
    return compounds;
}

} // namespace

bool ParseSelectCnd(
    SELECTOR_STATEMENT* statement, const unsigned short* text, CSafeBuf* elementName, CSafeBuf* classText)
{
    if (!statement || !text)
        return false;
    try {
        CSafeBuf selector(text);
        selector.Trim();
        const CSafeBuf masked = Masked(selector, true);
        if (masked.Find('{') >= 0 || masked.Find('}') >= 0)
            return false; // a brace that closed no block
        const std::vector<Compound> compounds = SplitCompounds(masked);
        if (compounds.empty())
            return false;
        if (compounds.size() == 1)
            return ParseCompound(statement, selector, elementName, classText);
        // Steps from the right; a step's kind is the combinator left of its
        // compound, the leftmost step repeating the kind before it.
        bool valid = true;
        SELECTOR_STATEMENT* step = statement;
        int kind = kSelectorDescendant;
        for (size_t k = compounds.size(); k-- > 0;) {
            const Compound& c = compounds[k];
            if (k > 0)
                kind = c.combinator;
            step->kind = kind;
            step->nextCondition = new SELECTOR_STATEMENT;
            const bool rightmost = k + 1 == compounds.size();
            const CSafeBuf piece = selector.Mid(c.start, c.end - c.start);
            valid = ParseCompound(step->nextCondition, piece, rightmost ? elementName : nullptr,
                        rightmost ? classText : nullptr)
                && (rightmost || !HasPseudoElement(step->nextCondition)) && valid;
            if (k > 0) {
                step->nextStep = new SELECTOR_STATEMENT;
                step = step->nextStep;
            }
        }
        return valid;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool ParseSelectStr(STYLE_SELECTOR* selector)
{
    if (!selector)
        return false;
    try {
        selector->statement = new SELECTOR_STATEMENT;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return ParseSelectCnd(selector->statement, selector->text, &selector->elementName, &selector->classText);
}

void ParseSelectorGroup(STYLE_CLASS* rule, const unsigned short* text)
{
    if (!rule)
        return;
    try {
        CSafeBuf group(text);
        for (int i = 0; i < group.Length(); ++i) {
            if (IsWhite(group.GetAt(i)))
                group.SetAt(i, ' ');
        }
        group.TrimLeft();
        rule->selectorText = group;

        // Commas outside quotes, brackets and parentheses split the group.
        CSafeBuf masked = Masked(group, true);
        int parens = 0;
        STYLE_SELECTOR** link = &rule->selectors;
        while (*link)
            link = &(*link)->next;
        int start = 0;
        for (int i = 0; i <= masked.Length(); ++i) {
            const unsigned short c = masked.GetAt(i);
            if (c == '(')
                ++parens;
            else if (c == ')' && parens > 0)
                --parens;
            if (i < masked.Length() && (c != ',' || parens > 0))
                continue;
            STYLE_SELECTOR* selector = new STYLE_SELECTOR;
            *link = selector;
            link = &selector->next;
            selector->text = Trimmed(group.Mid(start, i - start));
            if (!ParseSelectStr(selector))
                rule->invalid = 1;
            start = i + 1;
        }
    } catch (const std::bad_alloc&) {
        rule->invalid = 1;
    }
    CalcSelectPrecedence(rule);
}
