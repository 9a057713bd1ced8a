#pragma once
// HTML2XML: the named character references of HTML 4 with their numeric
// references, used to turn HTML entity names into references that any XML
// parser understands. Both texts of a pair are 8-bit ASCII ("&nbsp;" and
// "&#160;"). Order: "&nbsp;" first, then the rest of the Latin-1 set in code
// order (160-255); then the special set, the five markup characters first
// ("&quot;", "&amp;", "&lt;", "&gt;", "&apos;") and the internationalisation
// characters after them ("&OElig;" to "&euro;"); and last the symbols and
// Greek set, "&fnof;" to "&diams;". Callers walk the table in order and may
// stop early, so the order matters. The table ends with an entry whose name is
// null; callers walk it until that entry.

struct HTMLEntityPair
{
    const char* name;   // "&nbsp;"
    const char* number; // "&#160;"
};

// Number of real pairs before the terminating entry.
constexpr int HTML2XML_COUNT = 253;

extern const HTMLEntityPair HTML2XML[HTML2XML_COUNT + 1];
