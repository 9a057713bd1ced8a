// The clipboard description's header is outside input: every offset is
// checked against the text before a byte is read.

#include "editor/ClipboardDescription.h"

#include <string>

namespace {

// The position of marker (lower case) in the lower-case copy; npos when absent.
std::size_t FindNoCase(const std::string& lower, const char* marker) { return lower.find(marker); }

// The first run of decimal digits after the first ':' at or after from,
// searched only up to the end of that header line; -1 when there is none or
// it does not fit an int.
long OffsetAfter(const std::string& text, std::size_t from)
{
    std::size_t i = text.find(':', from);
    if (i == std::string::npos)
        return -1;
    ++i;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    long value = -1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = (value < 0 ? 0 : value) * 10 + (text[i] - '0');
        if (value > 0x7FFFFFFFL)
            return -1;
    }
    return value;
}

} // namespace

bool ReadClipboardFragment(const char* description, std::size_t length, CSafeBuf& fragment)
{
    fragment.Empty();
    if (!description || length == 0 || length > 0x7FFFFFFF)
        return false;
    const std::string text(description, length);
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    const std::size_t endMarker = FindNoCase(lower, "endfragment:");
    const std::size_t startMarker = FindNoCase(lower, "startfragment:");
    if (endMarker == std::string::npos && startMarker == std::string::npos) {
        // No header at all: plain HTML, taken whole.
        fragment.Append(description, static_cast<int>(length));
        fragment.Replace("&nbsp;", "[%hardspace%]");
        return true;
    }
    if (endMarker == std::string::npos)
        return false;
    long start = 0;
    if (startMarker != std::string::npos) {
        if (startMarker >= endMarker)
            return false;
        start = OffsetAfter(text, startMarker);
    }
    const long end = OffsetAfter(text, endMarker);
    if (start < 0 || end < 0 || start >= end || static_cast<std::size_t>(end) > length)
        return false;
    fragment.Append(description + start, static_cast<int>(end - start));
    fragment.Replace("&nbsp;", "[%hardspace%]");
    return true;
}
