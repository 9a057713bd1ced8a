#include "base/text/RegEx.h"

#include "base/text/LowBytes.h"

#include <cstring>
#include <regex.h>
#include <string>

bool RegExMatch(const char* text, const char* pattern)
{
    if (text == nullptr || pattern == nullptr)
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
