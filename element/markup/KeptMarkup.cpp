// Kept markup: its depth measured, cut back and read as text.

#include "element/markup/KeptMarkup.h"

#include "element/Element.h"
#include "element/markup/MarkupScan.h"

#include <algorithm>
#include <cstring>

namespace {

using qm::markup::At;

enum class Piece
{
    Text,  // a run of text up to the next piece
    Open,  // a start tag
    Close, // an end tag
    Empty, // a tag that closes itself
    Data,  // character data: what stands between its brackets is text
    Other, // a comment, processing instruction or declaration
};

bool IsNameStart(unsigned c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

// One past the last unit of the piece at i, whose kind goes to kind. A piece
// left open runs to the end.
size_t PieceEnd(const unsigned short* s, size_t n, size_t i, Piece& kind)
{
    auto skip = [&](Piece k, size_t open, const char* close) {
        kind = k;
        return std::min(n, qm::markup::SkipTo(s, n, i, open, close) + 1);
    };
    if (s[i] != '<' || i + 1 >= n) {
        kind = Piece::Text;
        size_t j = i + 1;
        while (j < n && s[j] != '<')
            ++j;
        return j;
    }
    if (At(s, n, i, "<!--"))
        return skip(Piece::Other, 4, "-->");
    if (At(s, n, i, "<![CDATA["))
        return skip(Piece::Data, 9, "]]>");
    if (At(s, n, i, "<?"))
        return skip(Piece::Other, 2, "?>");
    if (At(s, n, i, "<!"))
        return skip(Piece::Other, 2, ">");
    const bool close = s[i + 1] == '/';
    if (!IsNameStart(s[i + (close ? 2 : 1)])) {
        kind = Piece::Text; // a "<" that opens no tag
        size_t j = i + 1;
        while (j < n && s[j] != '<')
            ++j;
        return j;
    }
    kind = close ? Piece::Close : Piece::Open;
    unsigned short quote = 0;
    for (size_t j = i + 1; j < n; ++j) {
        const unsigned short c = s[j];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            if (!close && s[j - 1] == '/')
                kind = Piece::Empty;
            return j + 1;
        }
    }
    return n;
}

// Calls visit(kind, start, end) for each piece of markup in turn.
template <class Visit>
void ForEachPiece(const CSafeBuf& markup, Visit visit)
{
    const unsigned short* s = markup;
    const size_t n = static_cast<size_t>(markup.Length());
    for (size_t i = 0; i < n;) {
        Piece kind = Piece::Text;
        const size_t end = PieceEnd(s, n, i, kind);
        visit(kind, i, end);
        i = end;
    }
}

// The code point of the reference at s[i] ("&" ... ";"), its length going
// to length; 0 when it is none that the parser's serialiser writes.
unsigned Reference(const unsigned short* s, size_t n, size_t i, size_t& length)
{
    static const struct
    {
        const char* name;
        unsigned code;
    } named[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (const auto& r : named) {
        if (At(s, n, i, r.name)) {
            length = std::strlen(r.name);
            return r.code;
        }
    }
    if (!At(s, n, i, "&#"))
        return 0;
    const bool hex = i + 2 < n && (s[i + 2] == 'x' || s[i + 2] == 'X');
    size_t j = i + (hex ? 3 : 2);
    unsigned code = 0;
    for (; j < n && s[j] != ';'; ++j) {
        const unsigned c = s[j];
        unsigned digit = 16;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit >= (hex ? 16u : 10u) || code > 0x10FFFF)
            return 0;
        code = code * (hex ? 16 : 10) + digit;
    }
    if (j >= n || j == i + (hex ? 3 : 2) || code == 0 || code > 0x10FFFF
        || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    length = j + 1 - i;
    return code;
}

// Appends the text of s[from, to): white space as one blank (after a
// blank already there, none), references resolved when resolve is set.
void AppendText(CSafeBuf& out, const unsigned short* s, size_t from, size_t to, bool resolve)
{
    auto add = [&out](unsigned short c) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (!blank)
            out += c;
        else if (out.Length() > 0 && out.GetAt(out.Length() - 1) != ' ')
            out += static_cast<unsigned short>(' ');
    };
    for (size_t i = from; i < to;) {
        size_t length = 0;
        const unsigned code = resolve && s[i] == '&' ? Reference(s, to, i, length) : 0;
        if (!code) {
            add(s[i++]);
            continue;
        }
        i += length;
        if (code < 0x10000) {
            add(static_cast<unsigned short>(code));
        } else {
            add(static_cast<unsigned short>(0xD800 + ((code - 0x10000) >> 10)));
            add(static_cast<unsigned short>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        }
    }
}

int MarkupHeight(const CSafeBuf& markup)
{
    int depth = 0, height = 0;
    ForEachPiece(markup, [&](Piece kind, size_t, size_t) {
        if (kind == Piece::Open)
            height = std::max(height, ++depth);
        else if (kind == Piece::Empty)
            height = std::max(height, depth + 1);
        else if (kind == Piece::Close && depth > 0)
            --depth;
    });
    return height;
}

} // namespace

bool KeepsMarkup(const CElement* e)
{
    switch (e->m_kind) {
    case kKindObject:
    case kKindMap:
    case kKindFormControl:
    case kKindScript:
    case kKindNoscript:
    case kKindFieldset: return true;
    default: return false;
    }
}

int KeptMarkupHeight(const CElement* e)
{
    return KeepsMarkup(e) && e->m_text.Find('<') >= 0 ? MarkupHeight(e->m_text) : 0;
}

void FlattenKeptMarkup(CSafeBuf& markup, int levels)
{
    const unsigned short* s = markup;
    CSafeBuf out;
    int depth = 0;
    ForEachPiece(markup, [&](Piece kind, size_t start, size_t end) {
        bool keep = true;
        if (kind == Piece::Open)
            keep = ++depth <= levels;
        else if (kind == Piece::Empty)
            keep = depth + 1 <= levels;
        else if (kind == Piece::Close)
            keep = depth-- <= levels;
        if (depth < 0)
            depth = 0;
        if (keep)
            out.Append(s + start, static_cast<int>(end - start));
    });
    markup.ReplaceWith(&out);
}

CSafeBuf KeptMarkupText(const CElement* e)
{
    CSafeBuf text;
    if (!KeepsMarkup(e))
        return text;
    CSafeBuf markup(e->m_text);
    // A holder's or script's text may start with the "//" that the reader
    // puts in front and the writer takes off.
    if (e->m_kind != kKindFieldset) {
        markup.TrimLeft();
        if (markup.Find("//") == 0)
            markup.Delete(0, 2);
    }
    const unsigned short* s = markup;
    ForEachPiece(markup, [&](Piece kind, size_t start, size_t end) {
        if (kind == Piece::Text)
            AppendText(text, s, start, end, true);
        else if (kind == Piece::Data)
            AppendText(text, s, start + 9, At(s, end, end - 3, "]]>") ? end - 3 : end, false);
    });
    text.TrimRight();
    return text;
}
