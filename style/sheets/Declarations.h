#pragma once
// Splitting a declaration block ("color: red; background: url(a;b.png)")
// into its declarations. A ";" ends a declaration only outside quotes and
// parentheses, so quoted texts and url() values are kept whole; a backslash
// keeps the character after it inside a quote. Each declaration is cut at
// its first ":" into a name and a value, both trimmed; one without ":" has an
// empty value; empty declarations are left out.

#include "style/sheets/StyleClass.h"

#include <vector>

// The position of the first ";" at or after from that stands outside quotes
// and parentheses; -1 when none.
int StatementEnd(const CSafeBuf& text, int from = 0);

void SplitDeclarations(const unsigned short* text, std::vector<STYLE_DECLARATION>& out);
