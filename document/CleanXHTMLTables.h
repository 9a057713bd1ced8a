#pragma once
// The attribute tables of the markup cleaner.

class CSafeBuf;

// The attributes ValidProperties allows on tag beyond the common ones:
// the list (ending with null) for the tag, or null when it allows none.
const char* const* ValidProperties(const unsigned short* tag);
// The name (ASCII case ignored) is one of the 23 event attributes removed
// with scripts: onclick ... onabort.
bool IsEventAttribute(const unsigned short* name);
