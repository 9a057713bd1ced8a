#pragma once
// MD5 digest (RFC 1321) of a byte block or a file, as text: the cache names
// documents fetched from URLs by it.
//
// A digest is a new array of 40 bytes (release with delete[]) holding 32
// upper-case hex digits, digest bytes in RFC order, and zeros after them.

#include "base/shims/WinTypes.h"

class CMD5Checksum
{
public:
    // The digest of the file's bytes, or null when the file cannot be opened or
    // read to its end. The path is 8-bit (UTF-8) text.
    static char* GetMD5(const char* path);
    // The digest of length bytes, or null for null data. UTF-16 text is hashed
    // as its units in host byte order: length = 2 x the number of units.
    static char* GetMD5(const unsigned char* data, unsigned int length);

    CMD5Checksum();
    virtual ~CMD5Checksum();

protected:
    // The standard MD5 steps.
    void Update(const unsigned char* input, unsigned int length);
    // Pads, finishes and answers the digest text (see above); null when no
    // memory could be had.
    char* Final();
    void Transform(const unsigned char block[64]);

    static DWORD RotateLeft(DWORD x, int n);
    static void FF(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t);
    static void GG(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t);
    static void HH(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t);
    static void II(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t);
    // Little-endian conversions between bytes and 32-bit words; length in bytes.
    static void ByteToDWord(DWORD* output, const unsigned char* input, unsigned int length);
    static void DWordToByte(unsigned char* output, const DWORD* input, unsigned int length);

    unsigned char m_buffer[64];    // the partial block not yet transformed
    unsigned long long m_bitCount; // message length in bits, modulo 2^64
    DWORD m_md5[4];                // chaining values A, B, C, D
};
