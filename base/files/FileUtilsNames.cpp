// File names from UUIDs and tick counts; the time zone name.

#include "base/files/FileUtilsNames.h"

#include <string>

#include "base/shims/TimeShims.h"
#include "base/text/SafeBuf.h"
#include "platform/sys/SystemInfo.h"
#include "platform/sys/Uuid.h"

void GenerateRandomFileName(CSafeBuf& out)
{
    out = "/";
    out += qm::sys::NewUuidString().c_str();
}

void GenGUID(CSafeBuf& out)
{
    out.FormatInt("%08lX", static_cast<long>(GetTickCount() & 0xFFFFFFFFul));
    out += "GUID-GEN";
}

void GenGUID(unsigned short* out)
{
    if (!out)
        return;
    CSafeBuf text;
    GenGUID(text);
    // Always 16 units: eight digits of a 32-bit value and "GUID-GEN".
    for (int i = 0; i <= text.Length() && i < 17; ++i)
        out[i] = text.GetAt(i);
    out[16] = 0;
}

void GetTimeZone(CSafeBuf& out)
{
    out.Empty();
    std::string name = qm::sys::TimeZoneName();
    if (!name.empty())
        out.AssignUTF8(name.c_str());
}

bool GetTimeZone(unsigned short* out, int size)
{
    if (!out || size < 1)
        return false;
    CSafeBuf name;
    GetTimeZone(name);
    if (name.Length() + 1 > size) {
        out[0] = 0;
        return false;
    }
    for (int i = 0; i <= name.Length(); ++i)
        out[i] = name.GetAt(i);
    return true;
}
