#pragma once
// Markup that comes as UTF-16, recognised by its byte-order mark (FF FE for
// little-endian, FE FF for big-endian), turned into the UTF-8 that the rest
// of the reading path works on.

#include "base/text/SafeBuf.h"

#include <cstddef>
#include <string>

// The bytes start with a UTF-16 byte-order mark.
bool StartsWithUtf16Mark(const char* bytes, size_t size);

// The UTF-16 text after the mark as UTF-8 into out (no mark), surrogate
// pairs joined. False, with an error in the XML layer's form (reason and
// line) and out empty, when the bytes end in half a unit or hold a surrogate
// without its partner.
bool Utf16MarkupToUtf8(const char* bytes, size_t size, std::string& out, CSafeBuf& error);
