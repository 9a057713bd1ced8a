#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/cg/Pixel.h"
#include "platform/image/ImageDecoder.h"

#include "tests/common/CraftedPictures.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"

using qm::cg::ImageRef;
using qm::cg::Pixel;

namespace {

const std::string kDir = std::string(QM_TEST_DATA_DIR) + "/images/";

Pixel At(const ImageRef& img, int x, int y)
{
    cairo_surface_flush(img->Surface());
    return qm::cg::ReadPixel(cairo_image_surface_get_data(img->Surface()),
        size_t(cairo_image_surface_get_stride(img->Surface())), x, y);
}

} // namespace

// Every fixture is 16 x 16: the top half red, the bottom half blue.
class DecodeFixture : public testing::TestWithParam<const char*>
{ };

TEST_P(DecodeFixture, FileAndBytesGiveTheSamePicture)
{
    std::string path = kDir + GetParam();
    ImageRef img = qm::image::DecodeFile(path);
    ASSERT_TRUE(img) << path;
    EXPECT_EQ(16, img->Width());
    EXPECT_EQ(16, img->Height());
    Pixel top = At(img, 4, 2), bottom = At(img, 4, 13);
    EXPECT_GT(top.red, 235);
    EXPECT_LT(top.blue, 20);
    EXPECT_GT(bottom.blue, 235);
    EXPECT_LT(bottom.red, 20);

    std::string bytes = qmtest::ReadFile(path);
    ImageRef fromBytes = qm::image::DecodeBytes(bytes.data(), bytes.size());
    ASSERT_TRUE(fromBytes);
    EXPECT_EQ(16, fromBytes->Width());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DecodeFixture, testing::Values("picture.png", "picture.jpg", "picture.gif", "picture.bmp"));

TEST(ImageDecoder, AlphaIsPremultiplied)
{
    ImageRef img = qm::image::DecodeFile(kDir + "picture.png");
    ASSERT_TRUE(img);
    Pixel p = At(img, 15, 15); // blue at alpha 128
    EXPECT_EQ(128, p.alpha);
    EXPECT_EQ(128, p.blue);
    EXPECT_EQ(255, qm::cg::Unpremultiply(p).blue);
}

TEST(ImageDecoder, RejectsWhatIsNotAPicture)
{
    const char junk[] = "this is not a picture at all";
    EXPECT_FALSE(qm::image::DecodeBytes(junk, sizeof junk));
    EXPECT_FALSE(qm::image::DecodeBytes(nullptr, 10));
    EXPECT_FALSE(qm::image::DecodeFile(kDir + "no-such-file.png"));
    std::string png = qmtest::ReadFile(kDir + "picture.png");
    EXPECT_FALSE(qm::image::DecodeBytes(png.data(), 20)); // cut inside the header
}

TEST(ImageDecoder, IcnsTakesItsLargestPngMember)
{
    std::string png = qmtest::ReadFile(kDir + "picture.png");
    const std::string small = qmtest::Png(2, 2, qmtest::StoredZeros(2 * 9), true);
    auto be32 = [](std::string& s, size_t v) {
        for (int i = 3; i >= 0; --i)
            s += char((v >> (8 * i)) & 0xFF);
    };
    std::string icns = "icns";
    be32(icns, 8 + 12 + 8 + png.size() + 8 + small.size());
    icns += "it32"; // a raw member that is skipped
    be32(icns, 8 + 4);
    icns += "xxxx";
    icns += "ic07";
    be32(icns, 8 + png.size());
    icns.append(png.data(), png.size());
    icns += "icp4"; // smaller, and last: the larger one is still taken
    be32(icns, 8 + small.size());
    icns += small;
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("icns-")));
    // The format is told by the bytes, not by the name.
    const std::string path = scratch.Path() + "/icon.png";
    std::ofstream(path, std::ios::binary) << icns;
    ImageRef img = qm::image::DecodeFile(path);
    ASSERT_TRUE(img);
    EXPECT_EQ(16, img->Width());
    img = qm::image::DecodeBytes(icns.data(), icns.size());
    ASSERT_TRUE(img);
    EXPECT_EQ(16, img->Width());

    // A damaged file length: the header claims 255 bytes, the file holds 12.
    const std::string shortFile("icns\x00\x00\x00\xFF"
                                "ic07",
        12);
    ASSERT_TRUE(qmtest::WriteFile(path, shortFile));
    ASSERT_EQ(shortFile, qmtest::ReadFile(path));
    EXPECT_FALSE(qm::image::DecodeFile(path));

    // A damaged member length: the PNG member claims more than the file holds.
    std::string damaged = "icns";
    be32(damaged, 8 + 8 + png.size());
    damaged += "ic07";
    be32(damaged, 8 + png.size() + 1);
    damaged.append(png.data(), png.size());
    ASSERT_TRUE(qmtest::WriteFile(path, damaged));
    ASSERT_EQ(damaged.size(), qmtest::ReadFile(path).size());
    EXPECT_FALSE(qm::image::DecodeFile(path));
}

// Well-formed pictures in formats the editor does not show (XPM, TIFF, TGA,
// SVG, ICO, PNM, XBM): decoders for them are installed, but none is reached,
// whatever the file is called.
TEST(ImageDecoder, RefusesEveryOtherFormat)
{
    const std::vector<std::string> files = qmtest::FilesIn(kDir + "refused");
    ASSERT_GE(files.size(), 8u);
    for (const std::string& path : files) {
        std::string bytes = qmtest::ReadFile(path);
        ASSERT_FALSE(bytes.empty()) << path;
        EXPECT_FALSE(qm::image::DecodeFile(path)) << path;
        EXPECT_FALSE(qm::image::DecodeBytes(bytes.data(), bytes.size())) << path;
    }
}
