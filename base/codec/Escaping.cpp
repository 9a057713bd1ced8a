// Escaping and unescaping of text in place. Each function builds the result
// in a second buffer and hands it over with ReplaceWith, so nothing is
// rescanned after a replacement.

#include "base/codec/Escaping.h"

#include "base/codec/Hex.h"
#include "base/text/Ascii.h"

namespace {

void AppendReference(CSafeBuf& out, unsigned long code)
{
    out += "&#";
    out.AppendInt(static_cast<long>(code));
    out += ';';
}

bool StartsWith(const unsigned short* p, int available, const char* prefix)
{
    int i = 0;
    for (; prefix[i]; ++i) {
        if (i >= available || p[i] != static_cast<unsigned char>(prefix[i]))
            return false;
    }
    return true;
}

} // namespace

void EscapeXMLChar(CSafeBuf& text, bool spaces)
{
    const int length = text.Length();
    const unsigned short* s = text;
    bool needed = false;
    for (int i = 0; i < length && !needed; ++i) {
        unsigned short c = s[i];
        needed = c == '&' || c == '<' || c == '>' || c == '"'
            || (spaces && c == ' ' && i > 0 && s[i - 1] == ' ');
    }
    if (!needed)
        return;

    CSafeBuf out;
    for (int i = 0; i < length; ++i) {
        unsigned short c = s[i];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case ' ':
            if (spaces && i > 0 && s[i - 1] == ' ')
                out += "&#160;";
            else
                out += c;
            break;
        default: out += c; break;
        }
    }
    text.ReplaceWith(&out);
}

void EscapeHTMLUnicode(CSafeBuf& text)
{
    const int length = text.Length();
    const unsigned short* s = text;
    bool needed = false;
    for (int i = 0; i < length && !needed; ++i)
        needed = s[i] > 255 || s[i] == 0xA0;
    if (!needed)
        return;

    CSafeBuf out;
    for (int i = 0; i < length; ++i) {
        unsigned short c = s[i];
        if (c < 256 && c != 0xA0) {
            out += c;
        } else if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            unsigned long code
                = 0x10000 + ((static_cast<unsigned long>(c) - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            AppendReference(out, code);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            AppendReference(out, 0xFFFD);
        } else {
            AppendReference(out, c);
        }
    }
    text.ReplaceWith(&out);
}

void ValidateAttribute(CSafeBuf& value, bool doubleQuoted)
{
    if (doubleQuoted)
        value.Replace("\"", "&#34;");
    else
        value.Replace("'", "&#39;");
}

void EscapeString(CSafeBuf& text)
{
    const int length = text.Length();
    const unsigned short* s = text;
    if (text.Find('\\') < 0)
        return;

    CSafeBuf out;
    int i = 0;
    while (i < length) {
        unsigned short c = s[i];
        if (c != '\\') {
            out += c;
            ++i;
            continue;
        }
        ++i; // past the backslash
        if (i >= length)
            break; // a backslash at the end disappears
        unsigned short e = s[i];
        if (e == 'r') {
            out += static_cast<unsigned short>('\r');
            ++i;
            continue;
        }
        if (e == 'n') {
            out += static_cast<unsigned short>('\n');
            ++i;
            continue;
        }
        if (e == 't') {
            out += static_cast<unsigned short>('\t');
            ++i;
            continue;
        }
        if (IsAsciiHexDigit(e)) {
            if (i + 1 < length && IsAsciiHexDigit(s[i + 1])) {
                out += static_cast<unsigned short>(CHex::DeHex(e) * 16 + CHex::DeHex(s[i + 1]));
                i += 2;
                continue;
            }
            // One digit only: it is dropped and the next character is the escaped one.
            ++i;
            if (i >= length)
                break;
            out += s[i];
            ++i;
            continue;
        }
        out += e;
        ++i;
    }
    text.ReplaceWith(&out);
}

void RemoveXMLAllEscape(CSafeBuf& text, bool remove)
{
    if (!remove || text.Find('&') < 0)
        return;

    const int length = text.Length();
    const unsigned short* s = text;
    CSafeBuf out;
    int i = 0;
    while (i < length) {
        if (s[i] != '&') {
            out += s[i];
            ++i;
            continue;
        }
        // A named reference: a letter, then name characters, then ';' at most
        // 14 characters after the '&'.
        int end = -1;
        if (i + 1 < length && (IsAsciiLetter(s[i + 1]) || s[i + 1] == '_' || s[i + 1] == ':')) {
            for (int j = i + 2; j < length && j <= i + 14; ++j) {
                unsigned short c = s[j];
                if (c == ';') {
                    end = j;
                    break;
                }
                bool nameChar = IsAsciiAlnum(c) || c == '.' || c == '-' || c == '_' || c == ':';
                if (!nameChar)
                    break;
            }
        }
        if (end < 0) {
            out += s[i];
            ++i;
            continue;
        }
        const unsigned short* name = s + i + 1;
        int nameLength = end - i - 1;
        bool predefined = StartsWith(name, nameLength, "lt") || StartsWith(name, nameLength, "gt")
            || StartsWith(name, nameLength, "amp") || StartsWith(name, nameLength, "quot")
            || StartsWith(name, nameLength, "apos");
        if (predefined)
            out.Append(s + i, end + 1 - i);
        i = end + 1;
    }
    text.ReplaceWith(&out);
}
