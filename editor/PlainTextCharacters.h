#pragma once
// Characters that inserted plain text carries in a plain form: the
// typographic quotation marks, dashes, bullets and ellipsis of word
// processors become the ASCII characters a reader of the document's text
// expects.

#include "base/text/SafeBuf.h"

// Appends c to out, or its plain replacement when it has one.
void AppendPlainCharacter(CSafeBuf& out, unsigned short c);
