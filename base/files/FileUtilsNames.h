#pragma once
// Making names for files and reading the system's time zone name.

class CSafeBuf;

// out = "/" followed by a new UUID in its text form.
void GenerateRandomFileName(CSafeBuf& out);
// The tick count (low 32 bits) as eight upper-case hexadecimal digits
// followed by "GUID-GEN": always 16 units. The array form needs room for 17.
void GenGUID(CSafeBuf& out);
void GenGUID(unsigned short* out);
// The name of the system's time zone. The array form writes it only when it
// fits in size units with its terminator (else an empty text, false).
void GetTimeZone(CSafeBuf& out);
bool GetTimeZone(unsigned short* out, int size);
