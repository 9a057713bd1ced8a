#pragma once
// Small text helpers for tests that write qmhost pages and read their logs.

#include <initializer_list>
#include <sstream>
#include <string>

namespace qmtest {

// Text escaped for an XML attribute value in double quotes.
inline std::string EscapeAttribute(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// The lines of a log that start with one of the prefixes, in order; the
// generator comment (which carries the time) left out of form values.
inline std::string LogLines(const std::string& log, std::initializer_list<const char*> prefixes)
{
    std::istringstream lines(log);
    std::string line;
    std::string out;
    while (std::getline(lines, line)) {
        for (const char* prefix : prefixes) {
            if (line.rfind(prefix, 0) != 0)
                continue;
            const std::string::size_type comment = line.find("\"<!--");
            const std::string::size_type end = line.find("-->", comment);
            if (comment != std::string::npos && end != std::string::npos)
                line.erase(comment + 1, end + 3 - comment - 1);
            out += line + "\n";
            break;
        }
    }
    return out;
}

} // namespace qmtest
