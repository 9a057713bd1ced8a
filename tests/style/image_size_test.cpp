// CImage and the decoder's size limit: a picture whose header claims far more
// pixels than the limit is refused while its header is read, whether it comes
// from a file or from bytes in memory.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include "base/SafeBuf.h"
#include "platform/image/ImageDecoder.h"
#include "style/Image.h"

namespace {

void BigEndian32(std::string& out, std::uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((v >> shift) & 0xFF);
}

std::uint32_t Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

std::string PngChunk(const std::string& type, const std::string& data)
{
    std::string chunk;
    BigEndian32(chunk, std::uint32_t(data.size()));
    chunk += type + data;
    BigEndian32(chunk, Crc32(type + data));
    return chunk;
}

// An 8-bit RGBA PNG whose header claims width x height, with a scrap of
// image data: a zlib stream of one stored block of 16 zeros.
std::string PngClaiming(std::uint32_t width, std::uint32_t height)
{
    std::string png("\x89PNG\r\n\x1A\n", 8);
    std::string ihdr;
    BigEndian32(ihdr, width);
    BigEndian32(ihdr, height);
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);
    std::string idat("\x78\x01\x01\x10\x00\xEF\xFF", 7);
    idat += std::string(16, '\0');
    idat += std::string("\x00\x10\x00\x01", 4);
    return png + PngChunk("IHDR", ihdr) + PngChunk("IDAT", idat);
}

long long PeakAddressSpace()
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, 7, "VmPeak:") != 0)
            continue;
        std::istringstream value(line.substr(7));
        long long kb = 0;
        value >> kb;
        return kb * 1024;
    }
    return 0;
}

CSafeBuf Wide(const std::string& utf8)
{
    CSafeBuf s;
    s.AssignUTF8(utf8.c_str());
    return s;
}

} // namespace

TEST(CImageSize, TheLimitIsTheDecoders)
{
    EXPECT_EQ(qm::image::kMaxPicturePixels, CImage::kMaxPicturePixels);
}

TEST(CImageSize, AnEnormousHeaderIsRefusedWithoutReservingItsPixels)
{
    // 20000 x 20000 fits one surface a side but is 400 million pixels (1.6 GB).
    const std::string png = PngClaiming(20000, 20000);
    const std::string path = std::string(QM_TEST_OUTPUT_DIR) + "/cimage-oversized.png";
    std::ofstream(path, std::ios::binary) << png;

    const long long before = PeakAddressSpace();
    ASSERT_GT(before, 0);
    CImage image;
    EXPECT_FALSE(image.LoadPictureFile(Wide(path)));
    EXPECT_EQ(0, image.GetWidth());
    EXPECT_FALSE(image.LoadPictureMemory(png.data(), static_cast<int>(png.size())));
    EXPECT_EQ(0, image.GetHeight());
    EXPECT_EQ(nullptr, image.GetImage());
    EXPECT_LT(PeakAddressSpace() - before, 256LL << 20);
}
