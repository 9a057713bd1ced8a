// Markup edits on text. RemoveTagNamespace is a single pass of a small state
// machine over the characters (outside a tag, just after "<", in the tag
// name, between attributes, in an attribute name, before a value, inside a
// quoted value, inside a declaration); the colons it marks are replaced
// afterwards.

#include "base/text/TextUtilsMarkup.h"

#include "base/text/U16.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool IsWhite(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

enum class TagState
{
    Outside,
    AfterOpen,
    TagName,
    RestOfTagName,
    BetweenAttributes,
    AttributeName,
    BeforeValue,
    SingleQuoted,
    DoubleQuoted,
    Declaration,
};

void RemoveXMLTagAt(CSafeBuf& markup, int found, int nameLength)
{
    if (found <= 0)
        return;
    int open = found - 1;
    while (open >= 0 && IsWhite(markup.GetAt(open)))
        --open;
    if (open < 0 || markup.GetAt(open) != '<')
        return;
    const int length = markup.Length();
    int close = found + nameLength;
    while (close < length && markup.GetAt(close) != '>' && markup.GetAt(close) != '<')
        ++close;
    if (close >= length || markup.GetAt(close) != '>')
        return;
    markup.Delete(open, close - open + 1);
}

bool StartsAt(const unsigned short* s, int n, int i, const char* word, bool anyCase = false)
{
    for (int k = 0; word[k]; ++k) {
        if (i + k >= n)
            return false;
        unsigned short c = s[i + k];
        if (anyCase && c >= 'A' && c <= 'Z')
            c = static_cast<unsigned short>(c + 32);
        if (c != static_cast<unsigned char>(word[k]))
            return false;
    }
    return true;
}

// Whether the start tag of name (lower case, ASCII case ignored) opens at i.
bool StartTagAt(const unsigned short* s, int n, int i, const char* name)
{
    if (s[i] != '<' || !StartsAt(s, n, i + 1, name, true))
        return false;
    const int after = i + 1 + static_cast<int>(std::strlen(name));
    return after >= n || IsWhite(s[after]) || s[after] == '/' || s[after] == '>';
}

// The first position from i on that holds word; n when none does.
int Next(const unsigned short* s, int n, int i, const char* word, bool anyCase = false)
{
    while (i < n && !StartsAt(s, n, i, word, anyCase))
        ++i;
    return i;
}

// When a stretch whose text is no markup opens at i (a comment, a CDATA
// section, a processing instruction, a script or style element's start tag
// and content), answers where the markup goes on after it; i otherwise.
int PastText(const unsigned short* s, int n, int i)
{
    if (StartsAt(s, n, i, "<!--"))
        return std::min(n, Next(s, n, i + 4, "-->") + 3);
    if (StartsAt(s, n, i, "<![CDATA["))
        return std::min(n, Next(s, n, i + 9, "]]>") + 3);
    if (StartsAt(s, n, i, "<?"))
        return std::min(n, Next(s, n, i + 2, "?>") + 2);
    for (const char* name : {"script", "style"}) {
        if (!StartTagAt(s, n, i, name))
            continue;
        // The start tag ends at the first ">" outside quotes.
        unsigned short quote = 0;
        int j = i + 1;
        for (; j < n && (quote || s[j] != '>'); ++j) {
            if (quote ? s[j] == quote : (s[j] == '"' || s[j] == '\''))
                quote = quote ? 0 : s[j];
        }
        if (j >= n || s[j - 1] == '/')
            return std::min(n, j + 1);
        const char* end = name[1] == 'c' ? "</script" : "</style";
        return Next(s, n, j + 1, end, true);
    }
    return i;
}

} // namespace

void RemoveDoctype(CSafeBuf& markup)
{
    const unsigned short* s = markup;
    const int n = markup.Length();
    for (int i = 0; i < n; ++i) {
        if (s[i] == '<') {
            const int past = PastText(s, n, i);
            if (past > i) {
                i = past - 1;
                continue;
            }
        }
        if (s[i] == '!' && StartsAt(s, n, i, "!DOCTYPE")) {
            RemoveXMLTagAt(markup, i, 8);
            return;
        }
    }
}

void RemoveTagNamespace(CSafeBuf& markup)
{
    const int length = markup.Length();
    const unsigned short* s = markup;
    std::vector<int> marks;
    TagState state = TagState::Outside;
    bool attributeMarked = false;

    for (int i = 0; i < length; ++i) {
        unsigned short c = s[i];
        switch (state) {
        case TagState::Outside:
            if (c == '<')
                state = TagState::AfterOpen;
            break;
        case TagState::AfterOpen:
            if (IsWhite(c) || c == '>')
                break;
            state = (c == '!') ? TagState::Declaration : TagState::TagName;
            break;
        case TagState::TagName:
            if (c == ':') {
                marks.push_back(i);
                state = TagState::RestOfTagName;
            } else if (IsWhite(c))
                state = TagState::BetweenAttributes;
            else if (c == '>')
                state = TagState::Outside;
            break;
        case TagState::RestOfTagName:
            if (IsWhite(c))
                state = TagState::BetweenAttributes;
            else if (c == '>')
                state = TagState::Outside;
            break;
        case TagState::BetweenAttributes:
            if (c == '>')
                state = TagState::Outside;
            else if (!IsWhite(c)) {
                state = TagState::AttributeName;
                attributeMarked = false;
            }
            break;
        case TagState::AttributeName:
            if (c == '=')
                state = TagState::BeforeValue;
            else if (c == ':') {
                if (!attributeMarked)
                    marks.push_back(i);
                attributeMarked = true;
            } else if (c == '>')
                state = TagState::Outside;
            break;
        case TagState::BeforeValue:
            if (c == '\'')
                state = TagState::SingleQuoted;
            else if (c == '"')
                state = TagState::DoubleQuoted;
            else if (c == '>')
                state = TagState::Outside;
            break;
        case TagState::SingleQuoted:
            if (c == '\'')
                state = TagState::BetweenAttributes;
            break;
        case TagState::DoubleQuoted:
            if (c == '"')
                state = TagState::BetweenAttributes;
            break;
        case TagState::Declaration:
            if (c == '>')
                state = TagState::Outside;
            break;
        }
    }
    for (int pos : marks)
        markup.SetAt(pos, '-');
}

void RemoveXMLTag(CSafeBuf& markup, const unsigned short* name)
{
    if (name == nullptr || name[0] == 0)
        return;
    RemoveXMLTagAt(markup, markup.Find(name, 0, true), U16len(name));
}

void RemoveXMLTag(CSafeBuf& markup, const char* name)
{
    if (name == nullptr || name[0] == 0)
        return;
    CSafeBuf wide;
    wide = name;
    RemoveXMLTag(markup, static_cast<const unsigned short*>(wide));
}

void RemoveTag(CSafeBuf& text, int which)
{
    if (which == 0 || which == 1) {
        int open = text.Find('<');
        int close = open >= 0 ? text.Find('>', open) : -1;
        if (open >= 0 && close >= 0)
            text.Delete(open, close - open + 1);
    }
    if (which == 0 || which == 2) {
        int open = text.ReverseFind('<');
        int close = text.ReverseFind('>');
        if (open >= 0 && close > open)
            text.Delete(open, close - open + 1);
    }
}

int FindSubStringBetween(CSafeBuf& text, CSafeBuf& out, const char* start, const char* end)
{
    out.Empty();
    if (start == nullptr || end == nullptr || start[0] == 0 || end[0] == 0)
        return -1;
    const int at = text.Find(start, 0, true);
    if (at < 0)
        return -1;
    const int from = at + U16len(start);

    // Copy of the rest with every quoted stretch, quotes included, blanked
    // with a non-character that no marker holds.
    CSafeBuf blanked = text.Mid(from, text.Length() - from);
    unsigned short quote = 0;
    for (int i = 0; i < blanked.Length(); ++i) {
        unsigned short c = blanked.GetAt(i);
        if (quote == 0 && (c == '"' || c == '\'')) {
            quote = c;
            blanked.SetAt(i, 0xFFFF);
        } else if (quote != 0) {
            if (c == quote)
                quote = 0;
            blanked.SetAt(i, 0xFFFF);
        }
    }
    const int stop = blanked.Find(end, 0, true);
    if (stop < 0)
        return -1;
    out = text.Mid(from, stop);
    return at;
}
