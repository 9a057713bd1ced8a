#pragma once
// The process's cache of shaped words, one per font catalogue (like the
// catalogue, it lives as long as the process). A layout of plain text
// (TextLayout.h says which) is put together from the shapings of its words,
// each word with the blanks that follow it, keyed by font, size, weight,
// slant and the word's units; a word is shaped once and every later run
// that holds it costs a look-up. Fonts may kern a blank against the
// character after it: that advance is remembered per character, so a
// layout built from words measures exactly as the whole text shaped at
// once.
//
// The cache is bounded: past kMaxWords words it starts again empty. Layouts
// keep the shapings they use alive on their own.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "platform/text/Shaping.h"

namespace qm::text {

class Style;

class WordCache
{
public:
    static constexpr size_t kMaxWords = 50000;
    // Longer words are shaped where they stand and not kept.
    static constexpr int kMaxWordUnits = 64;

    static WordCache& Get();

    // The shaping of n units in the style's font; null when it cannot be
    // shaped.
    ShapingRef Word(const Style& style, const std::uint16_t* text, int n);
    // The advance of a blank followed by ch in the style's font (kerning
    // included), in a text whose letters are of script (a GUnicodeScript; 0
    // for none). False when the pair does not shape as a blank and ch alone
    // would (ch joins the blank's cluster or changes its own advance).
    bool BlankBefore(const Style& style, std::uint16_t ch, int script, double& advance);

    struct Decoration
    {
        double underlinePos = 0, underlineThick = 1, strikePos = 0, strikeThick = 1;
    };
    // Underline and strike-through position and thickness of the style's
    // primary font, below the baseline (y down).
    const Decoration& Decorations(const Style& style);

    // Forgets every word (layouts that hold some keep them).
    void Clear();
    size_t WordCount() const { return m_count; }
    // Off: every layout shapes its whole text at once (for comparisons).
    void SetEnabled(bool on) { m_enabled = on; }
    bool Enabled() const { return m_enabled; }

private:
    WordCache() = default;
    typedef std::tuple<long, double, bool, bool> FontKey;
    struct Blank
    {
        bool ok;
        double advance;
    };
    static constexpr std::uint16_t kAsciiBlanks = 128;
    struct FontWords
    {
        std::unordered_map<std::u16string, ShapingRef> words;
        std::map<std::pair<std::uint16_t, int>, Blank> blanks;
        // The entries of blanks for the characters below kAsciiBlanks in
        // one script, as a table.
        int asciiScript = -1;
        std::array<bool, kAsciiBlanks> asciiKnown{};
        std::array<Blank, kAsciiBlanks> ascii{};
        bool decorationKnown = false;
        Decoration decoration;
    };
    FontWords& Font(const Style& style);
    FontWords& OtherFont(const Style& style); // Font's look-up in the map

    std::map<FontKey, FontWords> m_fonts; // entries stay until the process ends
    FontKey m_lastKey;
    FontWords* m_lastFont = nullptr; // the entry of m_lastKey
    std::u16string m_key;            // Word's look-up key
    size_t m_count = 0;
    bool m_enabled = true;
};

} // namespace qm::text
