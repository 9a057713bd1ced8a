#include "base/text/RegEx.h"

#include <cstring>
#include <regex.h>
#include <string>

namespace {

std::string LowBytes(const unsigned short* s)
{
    std::string out;
    for (; *s != 0; ++s)
        out += static_cast<char>(*s & 0xFF);
    return out;
}

} // namespace

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

bool RegExMatch(const unsigned short* text, const char* pattern)
{
    if (text == nullptr || pattern == nullptr)
        return false;
    try {
        return RegExMatch(LowBytes(text).c_str(), pattern);
    } catch (...) {
        return false;
    }
}

bool RegExMatch(const unsigned short* text, const unsigned short* pattern)
{
    if (text == nullptr || pattern == nullptr)
        return false;
    try {
        return RegExMatch(LowBytes(text).c_str(), LowBytes(pattern).c_str());
    } catch (...) {
        return false;
    }
}
