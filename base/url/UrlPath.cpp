// Address and path utilities. The percent-encoding here works on UTF-16
// characters: one "%XX" per character below 256 and "%XXXX" above, a form
// that the system's own decoder and its peers read back; it is not the
// UTF-8 based encoding of web forms.

#include "base/url/UrlPath.h"

#include "base/codec/Hex.h"
#include "base/files/FileUtilsPath.h"
#include "base/text/Ascii.h"
#include "base/text/U16.h"

namespace {

// Whether text begins with prefix, ASCII case ignored.
bool StartsWithNoCase(const CSafeBuf& text, const char* prefix)
{
    const int n = U16len(prefix);
    return text.Length() >= n && U16nicmp(static_cast<const unsigned short*>(text), prefix, n) == 0;
}

} // namespace

void EncodeURL(CSafeBuf& text)
{
    const int length = text.Length();
    const unsigned short* s = text;
    CSafeBuf out;
    for (int i = 0; i < length; ++i) {
        unsigned short c = s[i];
        bool keep = IsAsciiAlnum(c) || c == '.' || c == '/' || c == '\\' || c == '-' || c == '_';
        if (keep) {
            out += c;
            continue;
        }
        out += '%';
        if (c > 255) {
            out += static_cast<unsigned short>(CHex::Hex(c >> 12));
            out += static_cast<unsigned short>(CHex::Hex(c >> 8));
        }
        out += static_cast<unsigned short>(CHex::Hex(c >> 4));
        out += static_cast<unsigned short>(CHex::Hex(c));
    }
    text.ReplaceWith(&out);
}

void DecodeURL(CSafeBuf& text)
{
    if (text.Find('%') < 0)
        return;
    const int length = text.Length();
    const unsigned short* s = text;
    CSafeBuf out;
    for (int i = 0; i < length; ++i) {
        unsigned short c = s[i];
        if (c == '%' && i + 2 < length && IsAsciiHexDigit(s[i + 1]) && IsAsciiHexDigit(s[i + 2])) {
            out += static_cast<unsigned short>(CHex::DeHex(s[i + 1]) * 16 + CHex::DeHex(s[i + 2]));
            i += 2;
            continue;
        }
        out += c;
    }
    text.ReplaceWith(&out);
}

void AddParamsToURL(CSafeBuf& url, const unsigned short* name, const unsigned short* value)
{
    CSafeBuf encodedName(name);
    CSafeBuf encodedValue(value);
    EncodeURL(encodedName);
    EncodeURL(encodedValue);
    url += static_cast<unsigned short>(url.Find('?') < 0 ? '?' : '&');
    url += encodedName;
    url += '=';
    url += encodedValue;
}

void ParseLocalURL(CSafeBuf& url)
{
    if (!StartsWithNoCase(url, "file://"))
        return;
    url.Delete(0, 7);
    // A "localhost" host names this machine; any other host is kept as the
    // path's first step, as before.
    const int host = 9; // "localhost"
    if (StartsWithNoCase(url, "localhost") && (url.Length() == host || url.GetAt(host) == '/'))
        url.Delete(0, host);
    // A drive letter ("/C:/...", or "/C|/..." in the old notation) starts the
    // path without the slashes in front of it.
    int slashes = 0;
    while (url.GetAt(slashes) == '/')
        ++slashes;
    const int length = url.Length();
    const bool drive = slashes + 1 < length && IsAsciiLetter(url.GetAt(slashes))
        && (url.GetAt(slashes + 1) == ':' || url.GetAt(slashes + 1) == '|')
        && (slashes + 2 == length || IsPathSeparator(url.GetAt(slashes + 2)));
    if (drive) {
        url.Delete(0, slashes);
        url.SetAt(1, ':');
    }
}

void CheckForLocalFile(CSafeBuf& url)
{
    if (url.IsEmpty())
        return;
    if (url.GetAt(url.Length() - 1) == '/')
        url.CutAt(url.Length() - 1);
    if (StartsWithNoCase(url, "file://localhost")) {
        DecodeURL(url);
        ParseLocalURL(url);
    }
}

void AddBaseURL(CSafeBuf& url, CSafeBuf base)
{
    if (base.IsEmpty())
        return;
    if (url.IsEmpty()) {
        url = base;
        return;
    }
    if (url.Find(':') >= 0)
        return;
    CSafeBuf joined(base);
    if (!IsPathSeparator(base.GetAt(base.Length() - 1)) && !IsPathSeparator(url.GetAt(0)))
        joined += '/';
    joined += url;
    url.ReplaceWith(&joined);
}

void CombinePathURL(CSafeBuf& path, const unsigned short* name)
{
    if (name == nullptr || name[0] == 0)
        return;
    if (path.IsEmpty()) {
        path = name;
        return;
    }
    bool pathEnds = IsPathSeparator(path.GetAt(path.Length() - 1));
    bool nameStarts = IsPathSeparator(name[0]);
    if (pathEnds && nameStarts)
        path.CutAt(path.Length() - 1);
    else if (!pathEnds && !nameStarts)
        path += '/';
    path += name;
}

void ValidatePath(CSafeBuf& path, bool)
{
    if (!path.IsEmpty() && path.GetAt(path.Length() - 1) != '/')
        path += '/';
}

void ParseFilename(CSafeBuf path, CSafeBuf* folder, CSafeBuf* name)
{
    const unsigned short* text = path;
    if (folder)
        ParseFilePath(text, *folder);
    if (name)
        ParseFilename(text, *name);
}

void ParseFilenameExt(CSafeBuf path, CSafeBuf& ext)
{
    ParseFileExtension(static_cast<const unsigned short*>(path), ext);
}
