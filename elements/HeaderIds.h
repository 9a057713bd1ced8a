#pragma once
// The header ids a data table generates for its th cells (see
// TableElementHeaders.cpp): "th", the table's identifier in upper-case
// hexadecimal of at least eight digits, then the row and the counted
// position. Written by hand: the load generates one for every th of every
// data table, where a formatted print cost more than the rest of the id's
// work.

#include <cstddef>

class CSafeBuf;

// The table's prefix, "th" and the hexadecimal digits of the identifier
// taken as unsigned long, at least eight of them, cut to 15 characters;
// answers its length.
int HeaderIdPrefix(long tableId, char (&prefix)[16]);

// The id of the th at row and position after prefix: two digits each when
// both are below 100, otherwise the row, "-" and the position. id is
// replaced.
void HeaderId(CSafeBuf& id, const char* prefix, int prefixLength, size_t row, int position);
