// Picture size limits: a picture whose header announces more pixels than the
// decoder accepts is refused from its header, before any pixel memory is
// allocated. The pictures here are a few hundred bytes of crafted header that
// claim an enormous size; decoding one must neither succeed nor make the
// process reserve the memory such a size would take.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>

#include "platform/cg/Image.h"
#include "platform/image/ImageDecoder.h"

namespace {

void BigEndian32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += char((v >> shift) & 0xFF);
}

void LittleEndian32(std::string& out, std::uint32_t v) {
  for (int shift = 0; shift <= 24; shift += 8) out += char((v >> shift) & 0xFF);
}

void LittleEndian16(std::string& out, std::uint16_t v) {
  out += char(v & 0xFF);
  out += char(v >> 8);
}

std::uint32_t Crc32(const std::string& bytes) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

std::string PngChunk(const std::string& type, const std::string& data) {
  std::string chunk;
  BigEndian32(chunk, std::uint32_t(data.size()));
  chunk += type + data;
  BigEndian32(chunk, Crc32(type + data));
  return chunk;
}

// A zlib stream holding `zeros` zero bytes in one stored block.
std::string StoredZeros(std::uint16_t zeros) {
  std::string z("\x78\x01\x01", 3);
  LittleEndian16(z, zeros);
  LittleEndian16(z, std::uint16_t(~zeros));
  z += std::string(zeros, '\0');
  BigEndian32(z, (std::uint32_t(zeros) << 16) | 1u);  // Adler-32 of the zeros
  return z;
}

// An 8-bit RGBA PNG whose header says width x height, with the given image
// data and, when complete, its end chunk.
std::string Png(std::uint32_t width, std::uint32_t height, const std::string& data, bool complete) {
  std::string png("\x89PNG\r\n\x1A\n", 8);
  std::string ihdr;
  BigEndian32(ihdr, width);
  BigEndian32(ihdr, height);
  ihdr += std::string("\x08\x06\x00\x00\x00", 5);
  png += PngChunk("IHDR", ihdr) + PngChunk("IDAT", data);
  if (complete) png += PngChunk("IEND", "");
  return png;
}

// A PNG whose header claims width x height, followed by a scrap of
// well-formed image data.
std::string PngClaiming(std::uint32_t width, std::uint32_t height) {
  return Png(width, height, StoredZeros(16), false);
}

// A 24-bit BMP whose header claims width x height, with one row of pixels.
std::string BmpClaiming(std::uint32_t width, std::uint32_t height) {
  std::string pixels(64, '\0');
  std::string bmp = "BM";
  LittleEndian32(bmp, 14 + 40 + std::uint32_t(pixels.size()));
  LittleEndian32(bmp, 0);
  LittleEndian32(bmp, 14 + 40);
  LittleEndian32(bmp, 40);
  LittleEndian32(bmp, width);
  LittleEndian32(bmp, height);
  LittleEndian16(bmp, 1);   // planes
  LittleEndian16(bmp, 24);  // bits per pixel
  for (int i = 0; i < 6; ++i) LittleEndian32(bmp, 0);
  return bmp + pixels;
}

// A field of /proc/self/status in bytes ("VmPeak", "VmSize"); 0 when missing.
long long StatusBytes(const std::string& field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, field.size() + 1, field + ":") != 0) continue;
    std::istringstream value(line.substr(field.size() + 1));
    long long kb = 0;
    value >> kb;
    return kb * 1024;
  }
  return 0;
}

// How far the process's peak address space may grow while a picture is
// refused: far less than any of the pictures below would take (the smallest
// claims 16000 x 16000 pixels, a gigabyte), far more than refusing one needs.
// The peak never falls, so the measure is sharpest in a fresh process, which
// is how ctest runs each test.
constexpr long long kAllowedGrowth = 256LL << 20;

struct Claim {
  const char* format;
  std::uint32_t width;
  std::uint32_t height;
};

void PrintTo(const Claim& c, std::ostream* os) {
  *os << c.format << " claiming " << c.width << " x " << c.height;
}

std::string Crafted(const Claim& c) {
  return std::string(c.format) == "png" ? PngClaiming(c.width, c.height) : BmpClaiming(c.width, c.height);
}

class OversizedPicture : public testing::TestWithParam<Claim> {};

}  // namespace

TEST(ImageSize, TheLimitIsInPixelsAndWithinOneSurface) {
  EXPECT_EQ(64LL * 1024 * 1024, qm::image::kMaxPicturePixels);
  EXPECT_EQ(32767, qm::cg::kMaxImageSide);
  EXPECT_TRUE(qm::image::IsAcceptedPictureSize(8192, 8192));
  EXPECT_TRUE(qm::image::IsAcceptedPictureSize(32767, 2048));
  EXPECT_TRUE(qm::image::IsAcceptedPictureSize(1, 1));
  EXPECT_FALSE(qm::image::IsAcceptedPictureSize(8192, 8193));  // one row too many pixels
  EXPECT_FALSE(qm::image::IsAcceptedPictureSize(32768, 1));    // wider than one surface
  EXPECT_FALSE(qm::image::IsAcceptedPictureSize(1, 32768));
  EXPECT_FALSE(qm::image::IsAcceptedPictureSize(40000, 40000));
  EXPECT_FALSE(qm::image::IsAcceptedPictureSize(0, 10));
  EXPECT_FALSE(qm::image::IsAcceptedPictureSize(10, -1));
}

TEST(ImageSize, AnOrdinaryPictureStillDecodes) {
  // 16 x 16: each row is a filter byte and 64 zero bytes (transparent black).
  const std::string png = Png(16, 16, StoredZeros(16 * 65), true);
  qm::cg::ImageRef img = qm::image::DecodeBytes(png.data(), png.size());
  ASSERT_TRUE(img);
  EXPECT_EQ(16, img->Width());
  EXPECT_EQ(16, img->Height());

  const std::string path = std::string(QM_TEST_OUTPUT_DIR) + "/ordinary-size.png";
  std::ofstream(path, std::ios::binary) << png;
  img = qm::image::DecodeFile(path);
  ASSERT_TRUE(img);
  EXPECT_EQ(16, img->Width());
}

TEST_P(OversizedPicture, IsRefusedFromItsHeaderWithoutReservingItsPixels) {
  const std::string bytes = Crafted(GetParam());
  const std::string path = std::string(QM_TEST_OUTPUT_DIR) + "/oversized-" + GetParam().format + "-" +
                           std::to_string(GetParam().width) + "." + GetParam().format;
  std::ofstream(path, std::ios::binary) << bytes;

  const long long before = std::max(StatusBytes("VmPeak"), StatusBytes("VmSize"));
  ASSERT_GT(before, 0);
  EXPECT_FALSE(qm::image::DecodeBytes(bytes.data(), bytes.size()));
  EXPECT_FALSE(qm::image::DecodeFile(path));
  const long long growth = StatusBytes("VmPeak") - before;
  EXPECT_LT(growth, kAllowedGrowth) << "the decoder reserved " << (growth >> 20) << " MB";
}

INSTANTIATE_TEST_SUITE_P(Headers, OversizedPicture,
                         testing::Values(Claim{"png", 40000, 40000}, Claim{"png", 16000, 16000},
                                         Claim{"png", 30000, 30000}, Claim{"bmp", 40000, 40000},
                                         Claim{"bmp", 16000, 16000}),
                         [](const testing::TestParamInfo<Claim>& info) {
                           return std::string(info.param.format) + std::to_string(info.param.width);
                         });
