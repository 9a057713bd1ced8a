#pragma once
// The UTF-16 units that XML text can hold. XML allows TAB, LF, CR and the
// characters from U+0020 up, except the surrogate code points, U+FFFE and
// U+FFFF; a reader refuses the others whether they are written as they are or
// as references, so markup that holds one cannot be read again. In UTF-16 a
// surrogate unit is half of a character of the supplementary planes and
// counts here; whether its partner stands beside it is the caller's question.
//
// The names of elements and attributes: a name starts with a letter, "_" or
// ":" and goes on with those, digits, ".", "-" and the combining marks XML
// lists. A tree holding any other name is written as markup that no reader
// takes back.

constexpr bool IsXmlTextUnit(unsigned int u)
{
    return u == '\t' || u == '\n' || u == '\r' || (u >= 0x20 && u <= 0xFFFD);
}

constexpr bool IsXmlNameStartUnit(unsigned int u)
{
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':'
        || (u >= 0xC0 && u <= 0xD6) || (u >= 0xD8 && u <= 0xF6) || (u >= 0xF8 && u <= 0x2FF)
        || (u >= 0x370 && u <= 0x37D) || (u >= 0x37F && u <= 0x1FFF) || (u >= 0x200C && u <= 0x200D)
        || (u >= 0x2070 && u <= 0x218F) || (u >= 0x2C00 && u <= 0x2FEF) || (u >= 0x3001 && u <= 0xD7FF)
        || (u >= 0xF900 && u <= 0xFDCF) || (u >= 0xFDF0 && u <= 0xFFFD);
}

constexpr bool IsXmlNameUnit(unsigned int u)
{
    return IsXmlNameStartUnit(u) || (u >= '0' && u <= '9') || u == '-' || u == '.' || u == 0xB7
        || (u >= 0x300 && u <= 0x36F) || (u >= 0x203F && u <= 0x2040);
}

// A zero-terminated UTF-16 text that is an XML name; null and empty are not.
// A character of the planes above the first, written as a surrogate pair,
// counts as a name character up to U+EFFFF, as XML has it.
inline bool IsXmlName(const unsigned short* name)
{
    if (!name || !*name)
        return false;
    for (const unsigned short* p = name; *p; ++p) {
        const unsigned int u = *p;
        if (u >= 0xD800 && u <= 0xDB7F && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            ++p; // U+10000 to U+EFFFF
            continue;
        }
        if (p == name ? !IsXmlNameStartUnit(u) : !IsXmlNameUnit(u))
            return false;
    }
    return true;
}
