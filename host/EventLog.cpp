#include "host/EventLog.h"

#include <cstdio>

namespace qm::host {

std::string EventLog::Text() const
{
    std::string out;
    for (const std::string& line : m_lines) {
        out += line;
        out += '\n';
    }
    return out;
}

bool EventLog::Contains(const std::string& text) const
{
    for (const std::string& line : m_lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

std::string Quote(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

} // namespace qm::host
