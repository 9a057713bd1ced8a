#pragma once
// Colouring of markup source text: which part of the markup each unit
// belongs to. Works on any range of a text: the state at the range's start
// is found by looking back to the last tag or comment that begins before it,
// so drawing a screen of a long text reads only that screen and what leads
// into it.

#include <functional>
#include <vector>

enum class SourcePart
{
    kText,       // character data
    kBracket,    // "<", "</", ">", "/>" of a tag
    kTagName,    // an element name the editor knows
    kUnknownTag, // an element name it does not know
    kAttribute,  // attribute names and "="
    kValue,      // attribute values with their quotes
    kComment,    // "<!--" to "-->"
    kSpecial,    // declarations, processing instructions, character data sections
    kEntity      // "&...;" in text or values
};

struct SourceRun
{
    int start = 0;
    int length = 0;
    SourcePart part = SourcePart::kText;
};

// Answers whether an element name (start, length units of the text) is known.
using TagNameTest = std::function<bool(const unsigned short* name, int length)>;

// The parts of [from, to) of text, merged into runs in text order. Without a
// test every name counts as known.
void ColourSource(const unsigned short* text, int length, int from, int to, const TagNameTest& known,
    std::vector<SourceRun>& runs);
