#pragma once
// Picture files made byte by byte for the size-limit tests: PNG and BMP
// headers that claim any size, with a scrap of well-formed image data, and a
// measure of how far the process's address space has grown.

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace qmtest {

inline void BigEndian32(std::string& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((v >> shift) & 0xFF);
}

inline void LittleEndian32(std::string& out, std::uint32_t v)
{
    for (int shift = 0; shift <= 24; shift += 8)
        out += char((v >> shift) & 0xFF);
}

inline void LittleEndian16(std::string& out, std::uint16_t v)
{
    out += char(v & 0xFF);
    out += char(v >> 8);
}

// The CRC-32 that PNG chunks carry.
inline std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

inline std::string PngChunk(const std::string& type, const std::string& data)
{
    std::string chunk;
    BigEndian32(chunk, std::uint32_t(data.size()));
    chunk += type + data;
    BigEndian32(chunk, Crc32(type + data));
    return chunk;
}

// A zlib stream holding `zeros` zero bytes in one stored block.
inline std::string StoredZeros(std::uint16_t zeros)
{
    std::string z("\x78\x01\x01", 3);
    LittleEndian16(z, zeros);
    LittleEndian16(z, std::uint16_t(~zeros));
    z += std::string(zeros, '\0');
    BigEndian32(z, (std::uint32_t(zeros) << 16) | 1u); // Adler-32 of the zeros
    return z;
}

// An 8-bit RGBA PNG whose header says width x height, with the given image
// data and, when complete, its end chunk.
inline std::string Png(std::uint32_t width, std::uint32_t height, const std::string& data, bool complete)
{
    std::string png("\x89PNG\r\n\x1A\n", 8);
    std::string ihdr;
    BigEndian32(ihdr, width);
    BigEndian32(ihdr, height);
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);
    png += PngChunk("IHDR", ihdr) + PngChunk("IDAT", data);
    if (complete)
        png += PngChunk("IEND", "");
    return png;
}

// A PNG whose header claims width x height, followed by a scrap of
// well-formed image data and no end.
inline std::string PngClaiming(std::uint32_t width, std::uint32_t height)
{
    return Png(width, height, StoredZeros(16), false);
}

// A 24-bit BMP whose header claims width x height, with one row of pixels.
inline std::string BmpClaiming(std::uint32_t width, std::uint32_t height)
{
    std::string pixels(64, '\0');
    std::string bmp = "BM";
    LittleEndian32(bmp, 14 + 40 + std::uint32_t(pixels.size()));
    LittleEndian32(bmp, 0);
    LittleEndian32(bmp, 14 + 40);
    LittleEndian32(bmp, 40);
    LittleEndian32(bmp, width);
    LittleEndian32(bmp, height);
    LittleEndian16(bmp, 1);  // planes
    LittleEndian16(bmp, 24); // bits per pixel
    for (int i = 0; i < 6; ++i)
        LittleEndian32(bmp, 0);
    return bmp + pixels;
}

// A field of /proc/self/status in bytes ("VmPeak", "VmSize"); 0 when missing.
inline long long StatusBytes(const std::string& field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, field.size() + 1, field + ":") != 0)
            continue;
        std::istringstream value(line.substr(field.size() + 1));
        long long kb = 0;
        value >> kb;
        return kb * 1024;
    }
    return 0;
}

} // namespace qmtest
