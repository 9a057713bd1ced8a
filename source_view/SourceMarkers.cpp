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
