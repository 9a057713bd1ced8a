#pragma once
// What the markup tree knows of a tag name, found in one hashed look-up: the
// XHTML tag it is (ASCII case ignored), its kind by the tag tables, and
// whether the editor supports it. Used by CSrcElement, which meets every tag
// of a document many times over.

struct SrcTagInfo
{
    const char* form; // the XHTMLTags form (lower case)
    int kind;         // 2, 1, 4, 8 or 16 by the first table holding it; 0 when "other"
    bool supported;   // in SupportHTMLTag
};

// The XHTML tag named name (ASCII case ignored), or null.
const SrcTagInfo* FindSrcTag(const unsigned short* name);
