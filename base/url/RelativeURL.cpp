// Relative address resolution. The base is split into scheme (through its
// first ':'), "//", authority (up to the next '/') and path (after that '/');
// the new path is built from the relative reference and the base path, and
// its dot segments are removed by marking segments removed and writing the
// kept ones back with their separators.

#include "base/url/RelativeURL.h"

#include "base/text/U16.h"

#include <cstddef>
#include <vector>

namespace {

struct Segment
{
    int start;
    int length;
    bool removed;
};

bool SegmentIs(const CSafeBuf& path, const Segment& seg, const char* text)
{
    int n = U16len(text);
    return seg.length == n && U16ncmp(static_cast<const unsigned short*>(path) + seg.start, text, n) == 0;
}

// Removes "." and ".." segments from a path that starts with '/'.
CSafeBuf RemoveDotSegments(const CSafeBuf& path)
{
    std::vector<Segment> segments;
    const int length = path.Length();
    int start = 1;
    for (int i = 1; i <= length; ++i) {
        if (i == length || path.GetAt(i) == '/') {
            segments.push_back({start, i - start, false});
            start = i + 1;
        }
    }
    if (!segments.empty() && segments.back().length == 0)
        segments.back().removed = true;

    for (std::size_t i = 0; i < segments.size(); ++i) {
        Segment& seg = segments[i];
        if (seg.removed)
            continue;
        if (SegmentIs(path, seg, ".")) {
            seg.removed = true;
        } else if (SegmentIs(path, seg, "..")) {
            for (std::size_t j = i; j-- > 0;) {
                if (segments[j].removed)
                    continue;
                if (!SegmentIs(path, segments[j], "..")) {
                    segments[j].removed = true;
                    seg.removed = true;
                }
                break;
            }
        }
    }

    CSafeBuf out;
    out += '/';
    bool first = true;
    bool slashWritten = false; // a removed segment already wrote the separator
    bool previousKept = false;
    const unsigned short* text = path;
    for (const Segment& seg : segments) {
        if (seg.removed) {
            if (previousKept) {
                out += '/';
                slashWritten = true;
            }
            previousKept = false;
            continue;
        }
        if (!first && !slashWritten)
            out += '/';
        out.Append(text + seg.start, seg.length);
        first = false;
        slashWritten = false;
        previousKept = true;
    }
    return out;
}

bool HoldsAny(const CSafeBuf& text, const char* units)
{
    for (int i = 0; units[i]; ++i) {
        if (text.Find(static_cast<unsigned short>(units[i])) >= 0)
            return true;
    }
    return false;
}

} // namespace

bool BuildRelativeURL(const unsigned short* base, const unsigned short* relative, CSafeBuf& out)
{
    out.Empty();
    if (base == nullptr || relative == nullptr)
        return false;

    if (U16chr(relative, ':') != nullptr || base[0] == 0) {
        out = relative;
        return true;
    }
    if (relative[0] == 0) {
        out = base;
        return true;
    }

    const CSafeBuf baseText(base);
    const int colon = baseText.Find(':');
    const int baseLength = baseText.Length();
    if (colon < 0 || colon + 2 >= baseLength || baseText.GetAt(colon + 1) != '/'
        || baseText.GetAt(colon + 2) != '/') {
        out = base;
        out += relative;
        return true;
    }

    const CSafeBuf scheme = baseText.Left(colon + 1);
    const int authorityStart = colon + 3;
    int slash = baseText.Find('/', authorityStart);
    if (slash < 0)
        slash = baseLength;
    const CSafeBuf authority = baseText.Mid(authorityStart, slash - authorityStart);
    const CSafeBuf basePath = baseText.Mid(slash + 1, baseLength - slash - 1);

    const int relativeLength = U16len(relative);
    if (relative[0] == '/' && relative[1] == '/' && relativeLength >= 3) {
        out = scheme;
        out += relative;
        return true;
    }
    if (relative[0] == '/') {
        out = scheme;
        out += "//";
        out += authority;
        out += relative;
        return true;
    }

    CSafeBuf newPath;
    newPath += '/';
    const unsigned short lead = relative[0];
    if (lead == '?' || lead == '#' || lead == ';') {
        int cut = basePath.Find(lead);
        newPath += cut >= 0 ? basePath.Left(cut) : basePath;
    } else {
        int last = basePath.ReverseFind('/');
        if (last >= 0)
            newPath += basePath.Left(last + 1);
    }
    newPath += relative;

    out = scheme;
    out += "//";
    out += authority;
    if (HoldsAny(newPath, "?#;"))
        out += newPath;
    else
        out += RemoveDotSegments(newPath);
    return true;
}
