#include "net/AdditionalHeaders.h"

#include <cstddef>
#include <cstring>

namespace {

struct FieldInfo
{
    const char* name;
    std::size_t offset;
};

#define QM_FIELD(member, header)                                                                             \
    {                                                                                                        \
        header, offsetof(ADDITIONAL_HTTP_HEADERS, member)                                                    \
    }

const FieldInfo kFields[] = {
    QM_FIELD(DocumentID, "X-Document-ID"),
    QM_FIELD(UserID, "X-User-ID"),
    QM_FIELD(SessionID, "X-Session-ID"),
    QM_FIELD(TransactionID, "X-Transaction-ID"),
    QM_FIELD(ClientID, "X-Client-ID"),
    QM_FIELD(InstanceID, "X-Instance-ID"),
    QM_FIELD(TagID, "X-Tag-ID"),
    QM_FIELD(UserAgent, "User-Agent"),
    QM_FIELD(Language, "Accept-Language"),
    QM_FIELD(Cookie, "Cookie"),
    QM_FIELD(ZoneID, "X-Zone-ID"),
    QM_FIELD(ProjectID, "X-Project-ID"),
    QM_FIELD(AreaID, "X-Area-ID"),
    QM_FIELD(GroupID, "X-Group-ID"),
    QM_FIELD(ParentID, "X-Parent-ID"),
    QM_FIELD(ContainerID, "X-Container-ID"),
    QM_FIELD(ObjectID, "X-Object-ID"),
    QM_FIELD(TagList, "X-TagList"),
};

#undef QM_FIELD

const int kFieldCount = static_cast<int>(sizeof kFields / sizeof kFields[0]);

} // namespace

void ClearAdditionalHeaders(ADDITIONAL_HTTP_HEADERS* headers)
{
    if (headers)
        std::memset(headers, 0, sizeof *headers);
}

int SetHeaderField(unsigned short* field, std::size_t capacity, const unsigned short* text)
{
    if (!field || capacity == 0)
        return 0;
    std::size_t n = 0;
    if (text) {
        while (n + 1 < capacity && text[n] != 0)
            ++n;
        // A high surrogate whose partner did not fit is dropped with it.
        if (n > 0 && text[n] != 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF)
            --n;
        std::memcpy(field, text, n * sizeof(unsigned short));
    }
    field[n] = 0;
    return static_cast<int>(n);
}

int AdditionalHeaderCount() { return kFieldCount; }

const char* AdditionalHeaderName(int i) { return i >= 0 && i < kFieldCount ? kFields[i].name : ""; }

const unsigned short* AdditionalHeaderValue(const ADDITIONAL_HTTP_HEADERS* headers, int i)
{
    if (!headers || i < 0 || i >= kFieldCount)
        return nullptr;
    const unsigned char* base = reinterpret_cast<const unsigned char*>(headers);
    return reinterpret_cast<const unsigned short*>(base + kFields[i].offset);
}
