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
#include <string>
#include <vector>

#include "platform/cg/Image.h"
#include "platform/image/ImageDecoder.h"

#include "tests/common/CraftedPictures.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"

namespace {

using qmtest::BmpClaiming;
using qmtest::Png;
using qmtest::PngClaiming;
using qmtest::StatusBytes;
using qmtest::StoredZeros;

// How far the process's peak address space may grow while a picture is
// refused: far less than any of the pictures below would take (the smallest
// claims 16000 x 16000 pixels, a gigabyte), far more than refusing one needs.
// The peak never falls, so the measure is sharpest in a fresh process, which
// is how ctest runs each test.
constexpr long long kAllowedGrowth = 256LL << 20;

struct Claim
{
    const char* format;
    std::uint32_t width;
    std::uint32_t height;
};

void PrintTo(const Claim& c, std::ostream* os)
{
    *os << c.format << " claiming " << c.width << " x " << c.height;
}

std::string Crafted(const Claim& c)
{
    return std::string(c.format) == "png" ? PngClaiming(c.width, c.height) : BmpClaiming(c.width, c.height);
}

class OversizedPicture : public testing::TestWithParam<Claim>
{ };

} // namespace

TEST(ImageSize, TheLimitIsInPixelsAndWithinOneSurface)
{
    EXPECT_EQ(64LL * 1024 * 1024, qm::image::kMaxPicturePixels);
    EXPECT_EQ(32767, qm::cg::kMaxImageSide);
    EXPECT_TRUE(qm::image::IsAcceptedPictureSize(8192, 8192));
    EXPECT_TRUE(qm::image::IsAcceptedPictureSize(32767, 2048));
    EXPECT_TRUE(qm::image::IsAcceptedPictureSize(1, 1));
    EXPECT_FALSE(qm::image::IsAcceptedPictureSize(8192, 8193)); // one row too many pixels
    EXPECT_FALSE(qm::image::IsAcceptedPictureSize(32768, 1));   // wider than one surface
    EXPECT_FALSE(qm::image::IsAcceptedPictureSize(1, 32768));
    EXPECT_FALSE(qm::image::IsAcceptedPictureSize(40000, 40000));
    EXPECT_FALSE(qm::image::IsAcceptedPictureSize(0, 10));
    EXPECT_FALSE(qm::image::IsAcceptedPictureSize(10, -1));
}

TEST(ImageSize, AnOrdinaryPictureStillDecodes)
{
    // 16 x 16: each row is a filter byte and 64 zero bytes (transparent black).
    const std::string png = Png(16, 16, StoredZeros(16 * 65), true);
    qm::cg::ImageRef img = qm::image::DecodeBytes(png.data(), png.size());
    ASSERT_TRUE(img);
    EXPECT_EQ(16, img->Width());
    EXPECT_EQ(16, img->Height());

    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("image-size-")));
    const std::string path = scratch.Path() + "/ordinary-size.png";
    std::ofstream(path, std::ios::binary) << png;
    img = qm::image::DecodeFile(path);
    ASSERT_TRUE(img);
    EXPECT_EQ(16, img->Width());
}

TEST_P(OversizedPicture, IsRefusedFromItsHeaderWithoutReservingItsPixels)
{
    const std::string bytes = Crafted(GetParam());
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("image-size-")));
    const std::string path = scratch.Path() + "/oversized." + GetParam().format;
    std::ofstream(path, std::ios::binary) << bytes;

    const long long before = std::max(StatusBytes("VmPeak"), StatusBytes("VmSize"));
    ASSERT_GT(before, 0);
    EXPECT_FALSE(qm::image::DecodeBytes(bytes.data(), bytes.size()));
    EXPECT_FALSE(qm::image::DecodeFile(path));
    const long long growth = StatusBytes("VmPeak") - before;
    EXPECT_LT(growth, kAllowedGrowth) << "the decoder reserved " << (growth >> 20) << " MB";
}

INSTANTIATE_TEST_SUITE_P(Headers, OversizedPicture,
    testing::Values(Claim{"png", 40000, 40000}, Claim{"png", 16000, 16000}, Claim{"png", 30000, 30000},
        Claim{"bmp", 40000, 40000}, Claim{"bmp", 16000, 16000}),
    [](const testing::TestParamInfo<Claim>& info) {
        return std::string(info.param.format) + std::to_string(info.param.width);
    });

// Headers whose other fields, not the picture's size, would make a decoder
// reserve gigabytes: an information header claiming to be 3.25 GiB long in a
// 34-byte file, pixel data said to start 3.75 GiB in. They are refused from
// the bytes, before any decoder runs.
TEST(ImageSize, HostileHeadersAreRefusedWithoutReservingMemory)
{
    const std::vector<std::string> files = qmtest::FilesIn(std::string(QM_TEST_DATA_DIR) + "/images/hostile");
    ASSERT_GE(files.size(), 2u);
    const long long before = std::max(StatusBytes("VmPeak"), StatusBytes("VmSize"));
    ASSERT_GT(before, 0);
    for (const std::string& path : files) {
        const std::string bytes = qmtest::ReadFile(path);
        ASSERT_FALSE(bytes.empty()) << path;
        EXPECT_FALSE(qm::image::DecodeBytes(bytes.data(), bytes.size())) << path;
        EXPECT_FALSE(qm::image::DecodeFile(path)) << path;
        const long long growth = StatusBytes("VmPeak") - before;
        EXPECT_LT(growth, kAllowedGrowth) << path << ": the decoder reserved " << (growth >> 20) << " MB";
    }
}
