#include "editor/PlainTextCharacters.h"

namespace {

struct Replacement
{
    unsigned short character;
    const char* text;
};

constexpr Replacement kReplacements[] = {
    {0x00B7, "-"},    // middle dot
    {0x0096, " - "},  // en dash as a Windows code page carries it
    {0x0097, " -- "}, // em dash likewise
    {0x066B, ","},    // Arabic decimal separator
    {0x2018, "'"},    // quotation marks and primes
    {0x2019, "'"},
    {0x201B, "'"},
    {0x2032, "'"},
    {0x201C, "\""},
    {0x201D, "\""},
    {0x2033, "\"\""},
    {0x2026, "..."},
    {0x2014, " -- "},
    {0x2013, "-"},
    {0x2022, "-"},
};

} // namespace

void AppendPlainCharacter(CSafeBuf& out, unsigned short c)
{
    for (const Replacement& r : kReplacements) {
        if (r.character == c) {
            out += r.text;
            return;
        }
    }
    out += c;
}
