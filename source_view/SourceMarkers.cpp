#include "source_view/SourceMarkers.h"

#include "element/markup/SourceCode.h"

#include <algorithm>
#include <cstring>

namespace {

const char* const kCursor = kCaretMarker;
const char* const kBegins = kSelectionBeginMarker;
const char* const kEnds = kSelectionEndMarker;

// Whether the ASCII word stands at text[i].
bool WordAt(const unsigned short* text, int length, int i, const char* word, int wordLength)
{
    if (length - i < wordLength)
        return false;
    for (int k = 0; k < wordLength; ++k) {
        if (text[i + k] != static_cast<unsigned char>(word[k]))
            return false;
    }
    return true;
}

void AppendWord(CSafeBuf& out, const char* word) { out += word; }

// Where the ASCII word next stands at or after from; length when nowhere.
int Find(const unsigned short* text, int length, int from, const char* word)
{
    const int n = static_cast<int>(std::strlen(word));
    for (int i = from; i + n <= length; ++i) {
        if (WordAt(text, length, i, word, n))
            return i;
    }
    return length;
}

bool IsNameUnit(unsigned short c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#' || c == '_'
        || c == '-' || c == '.' || c == ':' || c >= 0x80;
}

} // namespace

SourceMarkerPlaces RemoveSourceMarkers(
    const unsigned short* text, int length, std::vector<unsigned short>& out)
{
    SourceMarkerPlaces places;
    out.clear();
    if (!text || length <= 0)
        return places;
    out.reserve(length);
    const char* const words[] = {kCursor, kBegins, kEnds};
    int* const slots[] = {&places.cursor, &places.begins, &places.ends};
    const int lengths[] = {static_cast<int>(std::strlen(kCursor)), static_cast<int>(std::strlen(kBegins)),
        static_cast<int>(std::strlen(kEnds))};
    for (int i = 0; i < length;) {
        bool found = false;
        if (text[i] == '_') {
            for (int w = 0; w < 3 && !found; ++w) {
                if (WordAt(text, length, i, words[w], lengths[w])) {
                    if (*slots[w] < 0)
                        *slots[w] = static_cast<int>(out.size());
                    i += lengths[w];
                    found = true;
                }
            }
        }
        if (!found)
            out.push_back(text[i++]);
    }
    return places;
}

void InsertSourceMarkers(const unsigned short* text, int length, int anchor, int caret, CSafeBuf& out)
{
    out.Empty();
    if (!text || length < 0)
        length = 0;
    anchor = std::clamp(anchor, 0, length);
    caret = std::clamp(caret, 0, length);
    const int start = std::min(anchor, caret);
    const int end = std::max(anchor, caret);
    const bool selection = start != end;
    // The text piece by piece, with the marker words at their places.
    int done = 0;
    auto upTo = [&](int pos) {
        if (pos > done)
            out.Append(text + done, pos - done);
        done = std::max(done, pos);
    };
    if (selection) {
        upTo(start);
        if (caret == start)
            AppendWord(out, kCursor);
        AppendWord(out, kBegins);
        upTo(end);
        AppendWord(out, kEnds);
        if (caret == end)
            AppendWord(out, kCursor);
    } else {
        upTo(caret);
        AppendWord(out, kCursor);
    }
    upTo(length);
}

namespace {

// Whether the first element of the markup is an html element.
bool FirstElementIsHtml(const unsigned short* text, int length)
{
    for (int i = 0; i < length; ++i) {
        if (text[i] != '<')
            continue;
        if (WordAt(text, length, i, "<!--", 4))
            i = Find(text, length, i + 4, "-->");
        else if (WordAt(text, length, i, "<?", 2))
            i = Find(text, length, i + 2, "?>");
        else if (WordAt(text, length, i, "<!", 2))
            i = Find(text, length, i + 2, ">");
        else
            return (WordAt(text, length, i + 1, "html", 4) || WordAt(text, length, i + 1, "HTML", 4))
                && i + 5 < length && !IsNameUnit(text[i + 5]);
    }
    return false;
}

} // namespace

int MarkerPlace(const unsigned short* text, int length, int pos)
{
    if (!text || length <= 0)
        return pos;
    pos = std::clamp(pos, 0, length);
    int depth = 0;
    const bool whole = FirstElementIsHtml(text, length);
    auto decide = [&](int at) { return depth == 0 && whole ? -1 : at; };
    for (int i = 0; i < length;) {
        if (i >= pos)
            return decide(pos);
        const unsigned short c = text[i];
        if (c == '&') {
            // A reference: the name units up to its ";".
            int end = i + 1;
            while (end < length && end - i < 40 && IsNameUnit(text[end]))
                ++end;
            if (end < length && text[end] == ';' && pos <= end)
                pos = end + 1;
            i = end < length && text[end] == ';' ? end + 1 : i + 1;
            continue;
        }
        if (c != '<') {
            ++i;
            continue;
        }
        int end;
        bool content = false; // a comment or character data: a word may stand inside
        if (WordAt(text, length, i, "<!--", 4)) {
            end = std::min(length, Find(text, length, i + 4, "-->") + 3);
            content = true;
        } else if (WordAt(text, length, i, "<![CDATA[", 9)) {
            end = std::min(length, Find(text, length, i + 9, "]]>") + 3);
            content = true;
        } else if (WordAt(text, length, i, "<?", 2)) {
            end = std::min(length, Find(text, length, i + 2, "?>") + 2);
        } else if (WordAt(text, length, i, "<!", 2)) {
            // A declaration, with its internal subset in brackets.
            end = i + 2;
            for (int brackets = 0; end < length && (text[end] != '>' || brackets > 0); ++end) {
                if (text[end] == '[')
                    ++brackets;
                else if (text[end] == ']')
                    --brackets;
            }
            end = std::min(length, end + 1);
        } else {
            // A tag: up to the ">" that is not inside a quoted value.
            end = i + 1;
            for (unsigned short quote = 0; end < length && (quote || text[end] != '>'); ++end) {
                if (quote && text[end] == quote)
                    quote = 0;
                else if (!quote && (text[end] == '"' || text[end] == '\''))
                    quote = text[end];
            }
            const bool closing = i + 1 < length && text[i + 1] == '/';
            const bool empty = end < length && text[end - 1] == '/';
            end = std::min(length, end + 1);
            if (closing) {
                depth = std::max(0, depth - 1);
            } else if (!empty) {
                ++depth;
            }
        }
        if (pos > i && pos < end && !(content && depth > 0))
            pos = end;
        i = end;
    }
    return decide(pos);
}
