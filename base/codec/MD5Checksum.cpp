#include "base/codec/MD5Checksum.h"

#include <cstdio>
#include <cstring>
#include <new>

CMD5Checksum::CMD5Checksum() : m_buffer(), m_bitCount(0)
{
    m_md5[0] = 0x67452301;
    m_md5[1] = 0xEFCDAB89;
    m_md5[2] = 0x98BADCFE;
    m_md5[3] = 0x10325476;
}

CMD5Checksum::~CMD5Checksum() = default;

char* CMD5Checksum::GetMD5(const char* path)
{
    if (!path)
        return nullptr;
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return nullptr;
    CMD5Checksum md5;
    unsigned char block[1024];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        md5.Update(block, static_cast<unsigned int>(got));
    // A read error part-way would give the digest of a truncated file; report
    // it as a failure instead.
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return nullptr;
    return md5.Final();
}

char* CMD5Checksum::GetMD5(const unsigned char* data, unsigned int length)
{
    if (!data)
        return nullptr;
    CMD5Checksum md5;
    md5.Update(data, length);
    return md5.Final();
}

DWORD CMD5Checksum::RotateLeft(DWORD x, int n) { return static_cast<DWORD>((x << n) | (x >> (32 - n))); }

void CMD5Checksum::FF(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t)
{
    a = b + RotateLeft(a + ((b & c) | (~b & d)) + x + t, s);
}

void CMD5Checksum::GG(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t)
{
    a = b + RotateLeft(a + ((b & d) | (c & ~d)) + x + t, s);
}

void CMD5Checksum::HH(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t)
{
    a = b + RotateLeft(a + (b ^ c ^ d) + x + t, s);
}

void CMD5Checksum::II(DWORD& a, DWORD b, DWORD c, DWORD d, DWORD x, int s, DWORD t)
{
    a = b + RotateLeft(a + (c ^ (b | ~d)) + x + t, s);
}

void CMD5Checksum::ByteToDWord(DWORD* output, const unsigned char* input, unsigned int length)
{
    for (unsigned int i = 0, j = 0; j + 4 <= length; ++i, j += 4)
        output[i] = static_cast<DWORD>(input[j]) | (static_cast<DWORD>(input[j + 1]) << 8)
            | (static_cast<DWORD>(input[j + 2]) << 16) | (static_cast<DWORD>(input[j + 3]) << 24);
}

void CMD5Checksum::DWordToByte(unsigned char* output, const DWORD* input, unsigned int length)
{
    for (unsigned int i = 0, j = 0; j + 4 <= length; ++i, j += 4) {
        output[j] = static_cast<unsigned char>(input[i] & 0xFF);
        output[j + 1] = static_cast<unsigned char>((input[i] >> 8) & 0xFF);
        output[j + 2] = static_cast<unsigned char>((input[i] >> 16) & 0xFF);
        output[j + 3] = static_cast<unsigned char>((input[i] >> 24) & 0xFF);
    }
}

void CMD5Checksum::Transform(const unsigned char block[64])
{
    DWORD a = m_md5[0], b = m_md5[1], c = m_md5[2], d = m_md5[3];
    DWORD x[16];
    ByteToDWord(x, block, 64);

    // Round 1
    FF(a, b, c, d, x[0], 7, 0xD76AA478);
    FF(d, a, b, c, x[1], 12, 0xE8C7B756);
    FF(c, d, a, b, x[2], 17, 0x242070DB);
    FF(b, c, d, a, x[3], 22, 0xC1BDCEEE);
    FF(a, b, c, d, x[4], 7, 0xF57C0FAF);
    FF(d, a, b, c, x[5], 12, 0x4787C62A);
    FF(c, d, a, b, x[6], 17, 0xA8304613);
    FF(b, c, d, a, x[7], 22, 0xFD469501);
    FF(a, b, c, d, x[8], 7, 0x698098D8);
    FF(d, a, b, c, x[9], 12, 0x8B44F7AF);
    FF(c, d, a, b, x[10], 17, 0xFFFF5BB1);
    FF(b, c, d, a, x[11], 22, 0x895CD7BE);
    FF(a, b, c, d, x[12], 7, 0x6B901122);
    FF(d, a, b, c, x[13], 12, 0xFD987193);
    FF(c, d, a, b, x[14], 17, 0xA679438E);
    FF(b, c, d, a, x[15], 22, 0x49B40821);

    // Round 2
    GG(a, b, c, d, x[1], 5, 0xF61E2562);
    GG(d, a, b, c, x[6], 9, 0xC040B340);
    GG(c, d, a, b, x[11], 14, 0x265E5A51);
    GG(b, c, d, a, x[0], 20, 0xE9B6C7AA);
    GG(a, b, c, d, x[5], 5, 0xD62F105D);
    GG(d, a, b, c, x[10], 9, 0x02441453);
    GG(c, d, a, b, x[15], 14, 0xD8A1E681);
    GG(b, c, d, a, x[4], 20, 0xE7D3FBC8);
    GG(a, b, c, d, x[9], 5, 0x21E1CDE6);
    GG(d, a, b, c, x[14], 9, 0xC33707D6);
    GG(c, d, a, b, x[3], 14, 0xF4D50D87);
    GG(b, c, d, a, x[8], 20, 0x455A14ED);
    GG(a, b, c, d, x[13], 5, 0xA9E3E905);
    GG(d, a, b, c, x[2], 9, 0xFCEFA3F8);
    GG(c, d, a, b, x[7], 14, 0x676F02D9);
    GG(b, c, d, a, x[12], 20, 0x8D2A4C8A);

    // Round 3
    HH(a, b, c, d, x[5], 4, 0xFFFA3942);
    HH(d, a, b, c, x[8], 11, 0x8771F681);
    HH(c, d, a, b, x[11], 16, 0x6D9D6122);
    HH(b, c, d, a, x[14], 23, 0xFDE5380C);
    HH(a, b, c, d, x[1], 4, 0xA4BEEA44);
    HH(d, a, b, c, x[4], 11, 0x4BDECFA9);
    HH(c, d, a, b, x[7], 16, 0xF6BB4B60);
    HH(b, c, d, a, x[10], 23, 0xBEBFBC70);
    HH(a, b, c, d, x[13], 4, 0x289B7EC6);
    HH(d, a, b, c, x[0], 11, 0xEAA127FA);
    HH(c, d, a, b, x[3], 16, 0xD4EF3085);
    HH(b, c, d, a, x[6], 23, 0x04881D05);
    HH(a, b, c, d, x[9], 4, 0xD9D4D039);
    HH(d, a, b, c, x[12], 11, 0xE6DB99E5);
    HH(c, d, a, b, x[15], 16, 0x1FA27CF8);
    HH(b, c, d, a, x[2], 23, 0xC4AC5665);

    // Round 4
    II(a, b, c, d, x[0], 6, 0xF4292244);
    II(d, a, b, c, x[7], 10, 0x432AFF97);
    II(c, d, a, b, x[14], 15, 0xAB9423A7);
    II(b, c, d, a, x[5], 21, 0xFC93A039);
    II(a, b, c, d, x[12], 6, 0x655B59C3);
    II(d, a, b, c, x[3], 10, 0x8F0CCC92);
    II(c, d, a, b, x[10], 15, 0xFFEFF47D);
    II(b, c, d, a, x[1], 21, 0x85845DD1);
    II(a, b, c, d, x[8], 6, 0x6FA87E4F);
    II(d, a, b, c, x[15], 10, 0xFE2CE6E0);
    II(c, d, a, b, x[6], 15, 0xA3014314);
    II(b, c, d, a, x[13], 21, 0x4E0811A1);
    II(a, b, c, d, x[4], 6, 0xF7537E82);
    II(d, a, b, c, x[11], 10, 0xBD3AF235);
    II(c, d, a, b, x[2], 15, 0x2AD7D2BB);
    II(b, c, d, a, x[9], 21, 0xEB86D391);

    m_md5[0] += a;
    m_md5[1] += b;
    m_md5[2] += c;
    m_md5[3] += d;
}

void CMD5Checksum::Update(const unsigned char* input, unsigned int length)
{
    if (!input || length == 0)
        return;
    unsigned int index = static_cast<unsigned int>((m_bitCount >> 3) & 0x3F);
    m_bitCount += static_cast<unsigned long long>(length) << 3;

    const unsigned int partLength = 64 - index;
    unsigned int i = 0;
    if (length >= partLength) {
        std::memcpy(&m_buffer[index], input, partLength);
        Transform(m_buffer);
        for (i = partLength; i + 63 < length; i += 64)
            Transform(&input[i]);
        index = 0;
    }
    std::memcpy(&m_buffer[index], &input[i], length - i);
}

char* CMD5Checksum::Final()
{
    unsigned char bits[8];
    for (int i = 0; i < 8; ++i)
        bits[i] = static_cast<unsigned char>((m_bitCount >> (8 * i)) & 0xFF);

    const unsigned int index = static_cast<unsigned int>((m_bitCount >> 3) & 0x3F);
    const unsigned int padLength = index < 56 ? 56 - index : 120 - index;
    unsigned char padding[64] = {0x80};
    Update(padding, padLength);
    Update(bits, 8);

    unsigned char digest[16];
    DWordToByte(digest, m_md5, 16);

    char* text = new (std::nothrow) char[40];
    if (!text)
        return nullptr;
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 16; ++i) {
        text[2 * i] = digits[digest[i] >> 4];
        text[2 * i + 1] = digits[digest[i] & 0xF];
    }
    std::memset(text + 32, 0, 8);
    return text;
}
