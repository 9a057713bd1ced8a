#pragma once
// Conversions between UTF-16, UTF-8 and 8-bit text on plain arrays.
//
// Each takes the input, the address of the output pointer, the input length
// and the allocation flag: true allocates the output with new[] (release with
// delete[]), false with malloc (release with free). The output is terminated
// by a zero unit or byte that the answered length does not count. A negative
// length or a null input (with a non-zero length) produces nothing: *out is
// set to null and 0 is answered.
//
// Characters outside the basic plane are carried as surrogate pairs in UTF-16
// and as one 4-byte sequence in UTF-8. A surrogate unit without its partner
// is encoded as U+FFFD so the output is always valid UTF-8.

#include <string>

// count UTF-16 units to UTF-8 (output room 3 x count + 1).
int Unicode2UTF8(const unsigned short* in, unsigned char** out, int count, bool useNew = true);
// length UTF-8 bytes to UTF-16 (output room length + 1). A malformed byte
// (a lead byte without its continuation bytes included, whatever follows it:
// another byte or the end of the input) is dropped by itself and decoding goes
// on with the next byte; see Utf.cpp for the values that are dropped.
int UTF82Unicode(const unsigned char* in, unsigned short** out, int length, bool useNew = true);
// The same decoding into room the caller gives (length units at least);
// answers the units written, no terminator.
int UTF82UnicodeInto(const unsigned char* in, int length, unsigned short* out);
// Latin-1 bytes to UTF-8.
int Ansi2UTF8(const char* in, unsigned char** out, int length, bool useNew = true);
// One unit per byte (zero-extended).
int Ansi2Unicode(const unsigned char* in, unsigned short** out, int length, bool useNew = true);
// Bytes holding UTF-16 units in host byte order: length / 2 units; nothing
// when length is below 2.
int Multibyte2Unicode(const unsigned char* in, unsigned short** out, int length, bool useNew = true);

// Zero-terminated UTF-16 text (null allowed: empty) as a UTF-8 string, the
// form in which text crosses to the libraries and the platform layer. (A
// path crosses through PathToSystem, which also bounds its length.)
std::string ToUTF8String(const unsigned short* text);
// The same for count units (no terminator needed); count <= 0: empty.
std::string ToUTF8String(const unsigned short* text, int count);
