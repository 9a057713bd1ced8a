// Address and path utilities. Percent-encoding follows what servers and web
// forms expect: a character outside ASCII is written as the escapes of its
// UTF-8 bytes, and decoding reads escapes that form UTF-8 back into the
// character, so DecodeURL(EncodeURL(t)) gives t back for every text.

#include "base/url/UrlPath.h"

#include "base/codec/Hex.h"
#include "base/files/FileUtilsPath.h"
#include "base/text/Ascii.h"
#include "base/text/U16.h"
#include "platform/common/Utf8.h"

#include <cstddef>
#include <vector>

namespace {

// Whether text begins with prefix, ASCII case ignored.
bool StartsWithNoCase(const CSafeBuf& text, const char* prefix)
{
    const int n = U16len(prefix);
    return text.Length() >= n && U16nicmp(static_cast<const unsigned short*>(text), prefix, n) == 0;
}

bool IsEscape(const unsigned short* s, int i, int length)
{
    return s[i] == '%' && i + 2 < length && IsAsciiHexDigit(s[i + 1]) && IsAsciiHexDigit(s[i + 2]);
}

// Appends the characters of a run of escaped bytes: each sequence of them
// that is UTF-8 (a surrogate's three-byte form included, which is how
// EncodeURL writes a lone surrogate) as its character, every other byte as
// the character of that code.
void AppendEscapedBytes(CSafeBuf& out, const std::vector<unsigned char>& bytes)
{
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        char32_t value = 0;
        const int taken = qm::utf8::Decode(bytes.data() + i, n - i, value);
        if (taken == 0) {
            out += static_cast<unsigned short>(bytes[i++]);
            continue;
        }
        i += static_cast<std::size_t>(taken);
        if (value >= 0x10000) {
            out += static_cast<unsigned short>(qm::utf8::HighSurrogate(value));
            out += static_cast<unsigned short>(qm::utf8::LowSurrogate(value));
        } else {
            out += static_cast<unsigned short>(value);
        }
    }
}

} // namespace

void EncodeURL(CSafeBuf& text)
{
    const int length = text.Length();
    const unsigned short* s = text;
    CSafeBuf out;
    for (int i = 0; i < length; ++i) {
        const unsigned short c = s[i];
        if (IsAsciiAlnum(c) || c == '.' || c == '/' || c == '\\' || c == '-' || c == '_') {
            out += c;
            continue;
        }
        char32_t value = c;
        if (qm::utf8::IsHighSurrogate(c) && i + 1 < length && qm::utf8::IsLowSurrogate(s[i + 1]))
            value = qm::utf8::FromSurrogates(c, s[++i]);
        unsigned char bytes[4];
        const int n = qm::utf8::Encode(value, bytes);
        for (int k = 0; k < n; ++k) {
            out += '%';
            out += static_cast<unsigned short>(CHex::Hex(bytes[k] >> 4));
            out += static_cast<unsigned short>(CHex::Hex(bytes[k]));
        }
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
    std::vector<unsigned char> run;
    for (int i = 0; i < length;) {
        if (!IsEscape(s, i, length)) {
            out += s[i++];
            continue;
        }
        run.clear();
        for (; i < length && IsEscape(s, i, length); i += 3)
            run.push_back(static_cast<unsigned char>(CHex::DeHex(s[i + 1]) * 16 + CHex::DeHex(s[i + 2])));
        AppendEscapedBytes(out, run);
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
