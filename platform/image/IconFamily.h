#pragma once
// The icon-format (".icns") container: "icns", the family's total length,
// then members, each a four-character type, a length that counts its own
// eight header bytes, and its data. This is the one reader of the container;
// picture decoding and the bundle's icon references both use it.

#include <cstddef>
#include <vector>

namespace qm::image {

struct IconMember
{
    char type[4];              // the member's type, e.g. "ic07" or "is32"
    const unsigned char* data; // the member's data, inside the bytes given
    std::size_t size;          // the data's length, header excluded
};

// Whether bytes hold one complete icon family: the "icns" mark, a total
// length equal to size, and at least one member, the members' lengths
// (each at least 8) filling the family exactly. members, when given, is
// cleared and receives the members in file order (only when the answer is
// true); their data points into bytes.
bool ParseIconFamily(
    const unsigned char* bytes, std::size_t size, std::vector<IconMember>* members = nullptr);

} // namespace qm::image
