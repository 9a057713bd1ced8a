#pragma once
// The UTF-16 units that XML text can hold. XML allows TAB, LF, CR and the
// characters from U+0020 up, except the surrogate code points, U+FFFE and
// U+FFFF; a reader refuses the others whether they are written as they are or
// as references, so markup that holds one cannot be read again. In UTF-16 a
// surrogate unit is half of a character of the supplementary planes and
// counts here; whether its partner stands beside it is the caller's question.

constexpr bool IsXmlTextUnit(unsigned int u)
{
    return u == '\t' || u == '\n' || u == '\r' || (u >= 0x20 && u <= 0xFFFD);
}
