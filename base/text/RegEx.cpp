#include "base/text/RegEx.h"

#include "base/text/LowBytes.h"

#include <cstring>
#include <regex.h>
#include <string>
#include <vector>

namespace {

constexpr size_t kMaxPatternBytes = 1024;
constexpr long kMaxExpansion = 10000; // atoms
constexpr long kMaxSteps = 600;       // empty steps

// Reads a bound "{m}", "{m,}" or "{m,n}" at p (after the "{"); answers the
// largest count it allows (m + 1 for an open bound) and moves p past the "}",
// or -1 when it is no bound (regcomp then refuses the pattern anyway).
long ReadBound(const char*& p)
{
    long low = 0, high = -1;
    bool digits = false;
    while (*p >= '0' && *p <= '9' && low <= kMaxExpansion) {
        low = low * 10 + (*p++ - '0');
        digits = true;
    }
    if (!digits)
        return -1;
    if (*p == ',') {
        ++p;
        high = low + 1;
        if (*p >= '0' && *p <= '9') {
            high = 0;
            while (*p >= '0' && *p <= '9' && high <= kMaxExpansion)
                high = high * 10 + (*p++ - '0');
        }
    }
    if (*p != '}')
        return -1;
    ++p;
    return high > low ? high : low;
}

// The end of a bracket expression whose "[" is just before p: "]" first is a
// member, and "[:class:]", "[.x.]" and "[=x=]" hold a "]" of their own.
const char* SkipBracket(const char* p)
{
    if (*p == '^')
        ++p;
    if (*p == ']')
        ++p;
    while (*p && *p != ']') {
        if (*p == '[' && (p[1] == ':' || p[1] == '.' || p[1] == '=')) {
            const char close = p[1];
            const char* end = p + 2;
            while (*end && !(end[0] == close && end[1] == ']'))
                ++end;
            p = *end ? end + 2 : end;
        } else {
            ++p;
        }
    }
    return *p ? p + 1 : p;
}

// What a pattern expands to in the system matcher: atoms (characters,
// classes) and empty steps (a group's bounds, an alternative, the loop or
// skip of a repetition).
struct Expansion
{
    long atoms = 0;
    long steps = 0;

    Expansion& operator+=(const Expansion& o)
    {
        atoms += o.atoms;
        steps += o.steps;
        return *this;
    }
};

// Whether regcomp and regexec stay bounded on the pattern. The system matcher
// copies a repeated atom once for every count of its repetition, so stacked
// repetitions ("a+++...") and nested bounds ("((a{99}){99}){99}") grow
// exponentially; back-references make matching exponential. Atoms are cheap
// in any number, but the matcher works out for every empty step every other
// it can reach without reading a character, which grows with the cube of
// their count where they follow one another ("(()*){300}" takes a second,
// "((a?){100}){100}" twenty). An anchor ("^", "$") where an empty step can
// loop makes the matcher double its work for every copy ("((^)*){20}" takes
// fifteen seconds). The walk below counts atoms and steps after every
// repetition (an upper bound) and refuses stacked repetitions,
// back-references, anchors beside repetitions and long patterns; the
// anchors at the pattern's ends are taken off before (WithoutOuterAnchors).
bool IsTamePattern(const char* pattern)
{
    if (std::strlen(pattern) > kMaxPatternBytes)
        return false;
    std::vector<Expansion> groups(1);
    Expansion last;        // the last item, which a repetition repeats
    bool repeated = false; // the last item was a repetition
    bool anchor = false, repetition = false;
    for (const char* p = pattern; *p;) {
        const char c = *p++;
        long factor = 0; // how often a repetition copies the last item
        if (c == '*' || c == '?') {
            factor = 1;
        } else if (c == '+') {
            factor = 2;
        } else if (c == '{') {
            factor = ReadBound(p);
            if (factor < 0)
                return false;
            if (factor == 0)
                factor = 1;
        }
        if (factor > 0) {
            if (repeated)
                return false;
            repeated = true;
            repetition = true;
            // Each copy comes with a step that loops or skips it.
            const Expansion copies{last.atoms * factor, last.steps * factor + factor};
            groups.back().atoms += copies.atoms - last.atoms;
            groups.back().steps += copies.steps - last.steps;
            last = copies;
        } else {
            repeated = false;
            if (c == '(') {
                groups.emplace_back();
                last = Expansion();
                continue;
            }
            if (c == '|') {
                ++groups.back().steps;
                last = Expansion();
                continue;
            }
            if (c == ')') {
                if (groups.size() < 2)
                    return false;
                last = groups.back();
                last.steps += 2;
                groups.pop_back();
            } else if (c == '^' || c == '$') {
                anchor = true;
                last = Expansion{0, 1};
            } else {
                last = Expansion{1, 0};
                if (c == '\\') {
                    if (*p >= '1' && *p <= '9')
                        return false;
                    if (*p)
                        ++p;
                } else if (c == '[') {
                    p = SkipBracket(p);
                }
            }
            groups.back() += last;
        }
        const Expansion& all = groups.back();
        if (last.atoms > kMaxExpansion || all.atoms > kMaxExpansion || last.steps > kMaxSteps
            || all.steps > kMaxSteps || (anchor && repetition))
            return false;
    }
    // Groups left open: the matcher expands them before it finds one missing.
    Expansion open;
    for (const Expansion& g : groups)
        open += g;
    return open.atoms <= kMaxExpansion && open.steps <= kMaxSteps;
}

// The pattern without the anchors at its start and end ("^...$"): a match
// must span the whole text anyway, so they change no answer, and the matcher
// handles repetitions without them in bounded time.
std::string WithoutOuterAnchors(const char* pattern)
{
    while (*pattern == '^')
        ++pattern;
    size_t end = std::strlen(pattern);
    while (end > 0 && pattern[end - 1] == '$') {
        // After an odd number of backslashes: a dollar sign, not an anchor.
        size_t slashes = 0;
        while (slashes < end - 1 && pattern[end - 2 - slashes] == '\\')
            ++slashes;
        if (slashes % 2 != 0)
            break;
        --end;
    }
    return std::string(pattern, end);
}

bool MatchWhole(const char* text, const char* pattern)
{
    const std::string core = WithoutOuterAnchors(pattern);
    if (!IsTamePattern(core.c_str()))
        return false;
    regex_t re;
    if (regcomp(&re, core.c_str(), REG_EXTENDED) != 0)
        return false;
    regmatch_t match[1];
    const bool found = regexec(&re, text, 1, match, 0) == 0;
    regfree(&re);
    return found && match[0].rm_so == 0 && static_cast<size_t>(match[0].rm_eo) == std::strlen(text);
}

} // namespace

bool RegExMatch(const char* text, const char* pattern)
{
    if (text == nullptr || pattern == nullptr)
        return false;
    try {
        return MatchWhole(text, pattern);
    } catch (...) {
        return false;
    }
}

// The matcher reads bytes, so UTF-16 operands are narrowed exactly: a unit
// above 0xFF has no byte of its own (its low byte would pass for another
// character, 0x00 for the end of the text), and it makes the match fail.
bool RegExMatch(const unsigned short* text, const char* pattern)
{
    try {
        std::string bytes;
        return pattern != nullptr && NarrowExactly(text, bytes) && RegExMatch(bytes.c_str(), pattern);
    } catch (...) {
        return false;
    }
}

bool RegExMatch(const unsigned short* text, const unsigned short* pattern)
{
    try {
        std::string bytes, expression;
        return NarrowExactly(text, bytes) && NarrowExactly(pattern, expression)
            && RegExMatch(bytes.c_str(), expression.c_str());
    } catch (...) {
        return false;
    }
}
