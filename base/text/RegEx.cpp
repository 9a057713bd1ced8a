#include "base/text/RegEx.h"

#include "base/text/LowBytes.h"

#include <cstring>
#include <regex.h>
#include <string>
#include <vector>

namespace {

constexpr size_t kMaxPatternBytes = 1024;
constexpr long kMaxExpansion = 10000;

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

// Whether regcomp and regexec stay bounded on the pattern. The system matcher
// copies a repeated atom once for every count of its repetition, so stacked
// repetitions ("a+++...") and nested bounds ("((a{99}){99}){99}") grow
// exponentially; back-references make matching exponential. The walk below
// counts the atoms the pattern expands to (an upper bound) and refuses
// stacked repetitions, back-references and long patterns.
bool IsTamePattern(const char* pattern)
{
    if (std::strlen(pattern) > kMaxPatternBytes)
        return false;
    struct Group
    {
        long size = 0; // atoms of the group so far
    };
    std::vector<Group> groups(1);
    long last = 0;         // atoms of the last item, which a repetition repeats
    bool repeated = false; // the last item was a repetition
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
            groups.back().size += last * (factor - 1);
            last *= factor;
        } else {
            repeated = false;
            if (c == '(') {
                groups.emplace_back();
                last = 0;
                continue;
            }
            if (c == '|') {
                last = 0;
                continue;
            }
            if (c == ')') {
                if (groups.size() < 2)
                    return false;
                last = groups.back().size;
                groups.pop_back();
            } else {
                last = 1;
                if (c == '\\') {
                    if (*p >= '1' && *p <= '9')
                        return false;
                    if (*p)
                        ++p;
                } else if (c == '[') {
                    p = SkipBracket(p);
                }
            }
            groups.back().size += last;
        }
        if (last > kMaxExpansion || groups.back().size > kMaxExpansion)
            return false;
    }
    return true;
}

} // namespace

bool RegExMatch(const char* text, const char* pattern)
{
    if (text == nullptr || pattern == nullptr)
        return false;
    if (!IsTamePattern(pattern))
        return false;
    regex_t re;
    if (regcomp(&re, pattern, REG_EXTENDED) != 0)
        return false;
    regmatch_t match[1];
    const bool found = regexec(&re, text, 1, match, 0) == 0;
    regfree(&re);
    return found && match[0].rm_so == 0 && static_cast<size_t>(match[0].rm_eo) == std::strlen(text);
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
