#pragma once
// The token an editor puts into its drags ('QMD1', four bytes) so that a
// drop can tell its own drag (a move) from another editor's (a copy). Each
// call answers a token no other call in the same module has answered before
// (until 2^32 - 1 tokens were handed out), never 0; unlike the low half of
// an address, two editors that exist at once can never share one. The
// sequence starts at a random value, so modules loaded side by side are
// unlikely to meet either.

#include <cstdint>

std::uint32_t NewDragToken();
