#include "platform/image/IconFamily.h"

#include <cstdint>
#include <cstring>

#include "platform/image/ByteOrder.h"

namespace qm::image {

bool ParseIconFamily(const unsigned char* bytes, std::size_t size, std::vector<IconMember>* members)
{
    if (members)
        members->clear();
    if (!bytes || size < 16 || std::memcmp(bytes, "icns", 4) != 0 || BigEndian32(bytes + 4) != size)
        return false;
    std::size_t at = 8;
    while (at < size) {
        const std::uint32_t length = size - at >= 8 ? BigEndian32(bytes + at + 4) : 0;
        if (length < 8 || length > size - at) {
            if (members)
                members->clear();
            return false;
        }
        if (members) {
            IconMember member;
            std::memcpy(member.type, bytes + at, 4);
            member.data = bytes + at + 8;
            member.size = length - 8;
            members->push_back(member);
        }
        at += length;
    }
    return true;
}

} // namespace qm::image
