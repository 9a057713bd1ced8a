#pragma once
// Markup as the case files under tests/data/src_element/ and tests/data/clean/
// show it: UTF-8, CR LF as a line feed, a carriage return or line feed
// standing alone as {CR} or {LF} (so a case tells which line ends the writer
// made), and a no-break space character as {nbsp}.

#include "base/text/SafeBuf.h"
#include "tests/common/TextHelpers.h"

#include <string>

namespace qmtest {

inline std::string ShownMarkup(const CSafeBuf& markup)
{
    const std::string s = ToUtf8(markup);
    std::string shown;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            shown += '\n';
            ++i;
        } else if (s[i] == '\r') {
            shown += "{CR}";
        } else if (s[i] == '\n') {
            shown += "{LF}";
        } else if (s[i] == '\xC2' && i + 1 < s.size() && s[i + 1] == '\xA0') {
            shown += "{nbsp}";
            ++i;
        } else {
            shown += s[i];
        }
    }
    return shown;
}

} // namespace qmtest
