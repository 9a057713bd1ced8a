#include "source_view/SyntaxColour.h"

#include <algorithm>

namespace {

bool At(const unsigned short* text, int length, int i, const char* word)
{
    for (int k = 0; word[k]; ++k) {
        if (i + k >= length || text[i + k] != static_cast<unsigned char>(word[k]))
            return false;
    }
    return true;
}

bool IsBlank(unsigned short c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameEnd(unsigned short c) { return IsBlank(c) || c == '>' || c == '/' || c == '<' || c == '='; }

// The start of the last whole word that ends at or before pos, -1 when none.
int LastBefore(const unsigned short* text, int length, int pos, const char* word)
{
    int n = 0;
    while (word[n])
        ++n;
    for (int i = pos - n; i >= 0; --i) {
        if (text[i] == static_cast<unsigned char>(word[0]) && At(text, length, i, word))
            return i;
    }
    return -1;
}

class Colourer
{
public:
    Colourer(const unsigned short* text, int length, int from, int to, const TagNameTest& known,
        std::vector<SourceRun>& runs)
        : t(text), n(length), from(from), to(to), known(known), runs(runs)
    { }

    void Run(int begin)
    {
        int i = begin;
        while (i < to) {
            const unsigned short c = t[i];
            switch (mode) {
            case kOutside:
                if (c == '<') {
                    if (At(t, n, i, "<!--")) {
                        mode = kComment;
                        i = Mark(i, 4, SourcePart::kComment);
                    } else if (At(t, n, i, "<![CDATA[")) {
                        mode = kData;
                        i = Mark(i, 9, SourcePart::kSpecial);
                    } else if (At(t, n, i, "<!") || At(t, n, i, "<?")) {
                        mode = kSpecial;
                        i = Mark(i, 2, SourcePart::kSpecial);
                    } else {
                        mode = kName;
                        i = Mark(i, t[i + 1 < n ? i + 1 : i] == '/' ? 2 : 1, SourcePart::kBracket);
                    }
                } else if (c == '&') {
                    i = Entity(i, SourcePart::kText);
                } else {
                    i = Mark(i, 1, SourcePart::kText);
                }
                break;
            case kName: {
                int end = i;
                while (end < n && !IsNameEnd(t[end]))
                    ++end;
                mode = kTag;
                if (end == i)
                    break; // no name: read the tag's rest
                const bool ok = !known || known(t + i, end - i);
                i = Mark(i, end - i, ok ? SourcePart::kTagName : SourcePart::kUnknownTag);
                break;
            }
            case kTag:
                if (c == '>') {
                    mode = kOutside;
                    i = Mark(i, 1, SourcePart::kBracket);
                } else if (c == '/' && i + 1 < n && t[i + 1] == '>') {
                    mode = kOutside;
                    i = Mark(i, 2, SourcePart::kBracket);
                } else if (c == '"' || c == '\'') {
                    quote = c;
                    mode = kValue;
                    i = Mark(i, 1, SourcePart::kValue);
                } else if (c == '<') {
                    mode = kOutside; // an unclosed tag: read the '<' again
                } else {
                    i = Mark(i, 1, IsBlank(c) ? SourcePart::kText : SourcePart::kAttribute);
                }
                break;
            case kValue:
                if (c == quote)
                    mode = kTag;
                i = c == '&' ? Entity(i, SourcePart::kValue) : Mark(i, 1, SourcePart::kValue);
                break;
            case kComment:
                if (At(t, n, i, "-->")) {
                    mode = kOutside;
                    i = Mark(i, 3, SourcePart::kComment);
                } else {
                    i = Mark(i, 1, SourcePart::kComment);
                }
                break;
            case kSpecial:
                if (c == '>')
                    mode = kOutside;
                i = Mark(i, 1, SourcePart::kSpecial);
                break;
            case kData:
                if (At(t, n, i, "]]>")) {
                    mode = kOutside;
                    i = Mark(i, 3, SourcePart::kSpecial);
                } else {
                    i = Mark(i, 1, SourcePart::kSpecial);
                }
                break;
            }
        }
    }

private:
    enum Mode
    {
        kOutside,
        kName,
        kTag,
        kValue,
        kComment,
        kSpecial,
        kData
    };

    // An entity reference from i ("&" up to ";"), or the "&" alone.
    int Entity(int i, SourcePart otherwise)
    {
        int end = i + 1;
        while (end < n && end - i < 40 && !IsBlank(t[end]) && t[end] != ';' && t[end] != '&' && t[end] != '<'
            && t[end] != quote)
            ++end;
        if (end < n && t[end] == ';' && end > i + 1)
            return Mark(i, end + 1 - i, SourcePart::kEntity);
        return Mark(i, 1, otherwise);
    }

    // Marks count units from i as part (those inside [from, to)); answers
    // the position after them.
    int Mark(int i, int count, SourcePart part)
    {
        const int end = std::min(i + std::max(count, 1), n);
        const int a = std::max(i, from);
        const int b = std::min(end, to);
        if (a < b) {
            if (!runs.empty() && runs.back().part == part && runs.back().start + runs.back().length == a)
                runs.back().length += b - a;
            else
                runs.push_back(SourceRun{a, b - a, part});
        }
        return end;
    }

    const unsigned short* t;
    int n;
    int from;
    int to;
    const TagNameTest& known;
    std::vector<SourceRun>& runs;
    Mode mode = kOutside;
    unsigned short quote = 0;
};

} // namespace

void ColourSource(const unsigned short* text, int length, int from, int to, const TagNameTest& known,
    std::vector<SourceRun>& runs)
{
    runs.clear();
    from = std::clamp(from, 0, length);
    to = std::clamp(to, from, length);
    if (!text || from == to)
        return;
    // Where the markup that leads into the range begins: an open comment,
    // else the last "<" after the last comment's end when a tag is open,
    // else the end of the last tag or comment.
    int begin = from;
    const int open = LastBefore(text, length, from, "<!--");
    const int close = open < 0 ? -1 : LastBefore(text, length, from, "-->");
    if (open >= 0 && close < open + 4) {
        begin = open;
    } else {
        const int lt = LastBefore(text, length, from, "<");
        const int gt = LastBefore(text, length, from, ">");
        if (lt > gt && lt > close)
            begin = lt;
        else // after the last tag or comment, so that an entity is read whole
            begin = std::max({0, gt + 1, close >= 0 ? close + 3 : 0});
    }
    Colourer(text, length, from, to, known, runs).Run(begin);
}
