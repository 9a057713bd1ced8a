#pragma once
// Fixed lists of lower-case tag names, each ending with a null entry, that the
// reader, the factory and the markup cleaner consult.

// Every XHTML tag ("del" stands twice).
extern const char* const XHTMLTags[];
// Tags that are inline by nature.
extern const char* const InlineTags[];
// The tags the reader knows: a parsed tag is mapped to its form here.
extern const char* const SupportHTMLTag[];
// Document structure: html, head, title, base, link, meta, script, style, body.
extern const char* const StructTags[];
// h1 to h6.
extern const char* const HeadingTags[];
// dl, ol, ul, dt, dd, li.
extern const char* const ListTags[];
// Tags the cleaner treats as blocks.
extern const char* const BlockTags[];
// The block tags that inheritance treats as blocks.
extern const char* const BLOCKTYPE[];

// The index of tag in list, -1 when absent or null. Exact comparison, or
// ignoring ASCII case with ignoreCase.
int FindTagInList(const char* const* list, const unsigned short* tag, bool ignoreCase = false);
// The tag is in list (exact comparison).
bool IsTagInList(const char* const* list, const unsigned short* tag);
// The number of entries of a list.
int TagListLength(const char* const* list);
