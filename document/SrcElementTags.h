#pragma once
// What the markup tree knows of a tag name, found in one hashed look-up: the
// XHTML tag it is (ASCII case ignored), its kind by the tag tables, and
// whether the editor supports it. A node looks its tag up once, when it is
// named; the passes then compare tags many times over, with SameTag.

#include <initializer_list>

struct SrcTagInfo
{
    const char* form; // the XHTMLTags form (lower case)
    int kind;         // 2, 1, 4, 8 or 16 by the first table holding it; 0 when "other"
    bool supported;   // kept by the cleaning into XHTML (SupportHTMLTag, dt, dd)
    // form as units (the longest XHTML tag has 10 letters), for the nodes
    // named after it, which take it without a copy.
    unsigned short wide[12];
    int length;
    int index; // 0 to SrcTagCount() - 1, for tables kept by tag
};

// How many XHTML tags there are, and the one at an index.
int SrcTagCount();
const SrcTagInfo* SrcTagAt(int index);

// The XHTML tag named name (ASCII case ignored), or null.
const SrcTagInfo* FindSrcTag(const unsigned short* name);

// The tag equals the ASCII name exactly (U16cmp's answer, without a call).
inline bool SameTag(const unsigned short* tag, const char* name)
{
    while (*name && *tag == static_cast<unsigned char>(*name)) {
        ++tag;
        ++name;
    }
    return !*name && !*tag;
}

inline bool SameTag(const char* tag, const char* name)
{
    while (*name && *tag == *name) {
        ++tag;
        ++name;
    }
    return !*name && !*tag;
}

// The tag is one of the names (a null-terminated list, or a braced one).
inline bool TagIn(const unsigned short* tag, const char* const* names)
{
    for (int i = 0; names && names[i]; ++i) {
        if (SameTag(tag, names[i]))
            return true;
    }
    return false;
}

inline bool TagIn(const unsigned short* tag, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (SameTag(tag, name))
            return true;
    }
    return false;
}

// An inline tag of the table that the writer's tidy pass moves a line break
// beside into (so that two alike elements around the break are written as
// one): b, i, a, strong, em, span and the other phrase tags. An inline tag
// outside the table takes breaks as well.
inline bool TakesLineBreaks(const unsigned short* tag)
{
    return TagIn(tag,
        {"b", "i", "a", "strong", "em", "span", "abbr", "dfn", "code", "acronym", "cite", "kbd", "samp",
            "var", "q", "label", "bdo", "big", "small", "tt"});
}
