#pragma once
// Reading HTML as the system clipboard describes it: a header of "Name:value"
// lines whose StartFragment and EndFragment values are byte offsets into the
// whole description, then the HTML.

#include "base/text/SafeBuf.h"

#include <cstddef>

// The fragment of a description of length bytes, each byte one UTF-16 unit,
// "&nbsp;" kept apart as "[%hardspace%]" (so that markup repair leaves it
// alone). The markers are found without regard to case; without a
// StartFragment marker the fragment starts at offset 0 of the text, and a
// text with neither marker is taken whole. False,
// with fragment empty, when the EndFragment marker or a number is missing, or
// the offsets are out of order or beyond the text (the end offset is
// exclusive, so it may equal the length).
bool ReadClipboardFragment(const char* description, std::size_t length, CSafeBuf& fragment);
