// CImage: loading from files, memory and locations, failed loads, scaled
// drawing and the lightened grey copy.

#include <gtest/gtest.h>

#include <dirent.h>
#include <memory>
#include <string>
#include <vector>

#include "base/files/UserFolders.h"
#include "base/geometry/GeometryTypes.h"
#include "base/text/SafeBuf.h"
#include "platform/cg/Context.h"
#include "style/Image.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

using qmtest::FromUtf8;
using qmtest::ReadFile;

namespace {

const std::string kDir = QM_TEST_DATA_DIR "/picture/";

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..")
                names.push_back(n);
        }
        closedir(d);
    }
    return names;
}

std::unique_ptr<qm::cg::Context> Bitmap(int w, int h)
{
    return qm::cg::Context::CreateBitmap(nullptr, w, h, w * 4);
}

// r, g, b, a as stored (premultiplied) at column x of row y (0 = top).
std::vector<int> At(const qm::cg::Context& c, int x, int y)
{
    const qm::cg::Pixel p = c.ReadPixel(x, y);
    return {p.red, p.green, p.blue, p.alpha};
}

using Px = std::vector<int>;
const Px kRed{255, 0, 0, 255}, kGreen{0, 255, 0, 255}, kBlue{0, 0, 255, 255}, kWhite{255, 255, 255, 255},
    kBlack{0, 0, 0, 255};

} // namespace

TEST(CImage, GreyCopyLightensByFortyFromTheStraightColour)
{
    CImage image;
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kDir + "grey.png")));
    ASSERT_EQ(5, image.GetWidth());
    auto c = Bitmap(5, 1);
    EXPECT_FALSE(image.HasGrayBuffer());
    ASSERT_TRUE(image.CopyImageGray(nullptr, nullptr, c.get(), 1, CPoint(0, 0)));
    EXPECT_TRUE(image.HasGrayBuffer());
    EXPECT_EQ(kBlack, At(*c, 0, 0));
    // 0.299 x 128 + 0.587 x 128 + 0.114 x 128 falls just below 128: 127 + 40.
    EXPECT_EQ(Px({167, 167, 167, 255}), At(*c, 1, 0));
    EXPECT_EQ(kWhite, At(*c, 2, 0));
    EXPECT_EQ(Px({0, 0, 0, 0}), At(*c, 3, 0));
    // Half-transparent white stays a valid premultiplied pixel: no halo.
    EXPECT_EQ(Px({128, 128, 128, 128}), At(*c, 4, 0));

    // The colour drawing is unchanged by the grey copy.
    auto colour = Bitmap(5, 1);
    ASSERT_TRUE(image.CopyImage(nullptr, nullptr, colour.get(), 1, CPoint(0, 0)));
    EXPECT_EQ(Px({128, 128, 128, 255}), At(*colour, 1, 0));
}

TEST(CImage, SmallPictureScalesNearestNeighbour)
{
    CImage image;
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kDir + "quad.png")));
    auto c = Bitmap(4, 4);
    RECT r{0, 0, 4, 4};
    ASSERT_TRUE(image.CopyImage(&r, nullptr, c.get(), 4, CPoint(0, 0)));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const Px& want = y < 2 ? (x < 2 ? kRed : kGreen) : (x < 2 ? kBlue : kWhite);
            EXPECT_EQ(want, At(*c, x, y)) << x << "," << y;
        }
    }
}

TEST(CImage, DestinationIsMovedByTheOffsetAndFlippedAgainstTheViewHeight)
{
    CImage image;
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kDir + "quad.png")));
    auto c = Bitmap(100, 100);
    c->EnableTrace(true);
    RECT r{10, 20, 30, 60};
    ASSERT_TRUE(image.CopyImage(&r, nullptr, c.get(), 0, CPoint(5, 5)));
    ASSERT_TRUE(image.CopyImage(&r, nullptr, c.get(), 100, CPoint(5, 5)));
    ASSERT_TRUE(image.CopyImage(nullptr, nullptr, c.get(), 100, CPoint(7, 3)));
    std::vector<std::string> draws;
    for (const std::string& call : c->Trace())
        if (call.rfind("DrawImage", 0) == 0)
            draws.push_back(call);
    EXPECT_EQ(std::vector<std::string>({"DrawImage(15, 65, 20, 40, 2, 2)", "DrawImage(15, 35, 20, 40, 2, 2)",
                  "DrawImage(7, 95, 2, 2, 2, 2)"}),
        draws);
    EXPECT_FALSE(image.CopyImage(&r, nullptr, nullptr, 100, CPoint(0, 0)));
}

TEST(CImage, BmpIconDecodes)
{
    CImage image;
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kDir + "icon.bmp")));
    EXPECT_EQ(4, image.GetWidth());
    EXPECT_EQ(2, image.GetHeight());
    EXPECT_EQ(static_cast<long>(ReadFile(kDir + "icon.bmp").size()), image.GetFileSize());
    auto c = Bitmap(4, 2);
    ASSERT_TRUE(image.CopyImage(nullptr, nullptr, c.get(), 2, CPoint(0, 0)));
    EXPECT_EQ(kRed, At(*c, 0, 0));
    EXPECT_EQ(kGreen, At(*c, 1, 0));
    EXPECT_EQ(kBlue, At(*c, 2, 0));
    EXPECT_EQ(kBlack, At(*c, 3, 0));
    EXPECT_EQ(kWhite, At(*c, 0, 1));
}

TEST(CImage, GreyCopyTakesAndIgnoresAColourSpace)
{
    CImage image;
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kDir + "grey.png")));
    auto c = Bitmap(5, 1);
    int colourSpace = 0;
    ASSERT_TRUE(image.CopyImageGray(nullptr, nullptr, c.get(), 1, CPoint(0, 0), &colourSpace));
    EXPECT_EQ(Px({167, 167, 167, 255}), At(*c, 1, 0));
    EXPECT_EQ(kWhite, At(*c, 2, 0));
    auto d = Bitmap(5, 1);
    ASSERT_TRUE(image.CopyImageGray(nullptr, nullptr, d.get(), 1, CPoint(0, 0), nullptr));
    EXPECT_EQ(Px({167, 167, 167, 255}), At(*d, 1, 0));
}

TEST(CImage, FailedLoadIsReportedAndLeavesAnEmptyPicture)
{
    CImage image;
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kDir + "quad.png")));
    auto c = Bitmap(2, 2);
    ASSERT_TRUE(image.CopyImageGray(nullptr, nullptr, c.get(), 2, CPoint(0, 0)));

    EXPECT_FALSE(image.LoadPictureFile(FromUtf8(kDir + "garbage.bin")));
    EXPECT_EQ(0, image.GetWidth());
    EXPECT_EQ(0, image.GetHeight());
    EXPECT_FALSE(image.HasGrayBuffer());
    EXPECT_FALSE(image.CopyImage(nullptr, nullptr, c.get(), 2, CPoint(0, 0)));
    EXPECT_FALSE(image.CopyImageGray(nullptr, nullptr, c.get(), 2, CPoint(0, 0)));

    EXPECT_FALSE(image.LoadPictureFile(FromUtf8(kDir + "no-such-file.png")));
    EXPECT_FALSE(image.LoadPictureFile(nullptr));
}

TEST(CImage, SecondLoadDropsTheGreyCopyOfTheFirst)
{
    CImage image;
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kDir + "grey.png")));
    auto c = Bitmap(5, 1);
    ASSERT_TRUE(image.CopyImageGray(nullptr, nullptr, c.get(), 1, CPoint(0, 0)));
    ASSERT_TRUE(image.HasGrayBuffer());
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kDir + "quad.png")));
    EXPECT_FALSE(image.HasGrayBuffer());
    // The new grey copy is of the new picture: red becomes 76 + 40.
    auto g = Bitmap(2, 2);
    ASSERT_TRUE(image.CopyImageGray(nullptr, nullptr, g.get(), 2, CPoint(0, 0)));
    EXPECT_EQ(Px({116, 116, 116, 255}), At(*g, 0, 0));
}

class CImageMemory : public ::testing::Test
{
protected:
    qmtest::TempDir scratch;
    std::string folder;
    void SetUp() override
    {
        ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("image-temp-")));
        folder = scratch.Path();
        SetUserTempFolder(FromUtf8(folder));
    }
    void TearDown() override { SetUserTempFolder(nullptr); }
};

TEST_F(CImageMemory, RecognisedBytesGoThroughATemporaryFileGarbageWritesNothing)
{
    CImage image;
    const std::string garbage = ReadFile(kDir + "garbage.bin");
    EXPECT_FALSE(image.LoadPictureMemory(garbage.data(), static_cast<int>(garbage.size())));
    EXPECT_FALSE(image.LoadImage(garbage.data(), static_cast<int>(garbage.size())));
    EXPECT_TRUE(FilesIn(folder).empty());
    EXPECT_FALSE(image.LoadPictureMemory(nullptr, 10));

    const std::string png = ReadFile(kDir + "quad.png");
    ASSERT_TRUE(image.LoadImage(png.data(), static_cast<int>(png.size())));
    EXPECT_EQ(2, image.GetWidth());
    const std::vector<std::string> files = FilesIn(folder);
    ASSERT_EQ(1u, files.size());
    EXPECT_EQ(".png", files[0].substr(files[0].size() - 4));
    EXPECT_EQ(static_cast<long>(png.size()), image.GetFileSize());
}

TEST_F(CImageMemory, WithoutATemporaryFolderBytesAreDecodedInMemory)
{
    SetUserTempFolder(nullptr);
    CImage image;
    const std::string bmp = ReadFile(kDir + "icon.bmp");
    ASSERT_TRUE(image.LoadPictureMemory(bmp.data(), static_cast<int>(bmp.size())));
    EXPECT_EQ(4, image.GetWidth());
    EXPECT_EQ(2, image.GetHeight());
}

TEST(CImage, LocationsThatAreLocalAreReadDirectly)
{
    CImage image;
    ASSERT_TRUE(image.LoadImage(FromUtf8("file://" + kDir + "icon.bmp")));
    EXPECT_EQ(4, image.GetWidth());
    ASSERT_TRUE(image.LoadImage(FromUtf8(kDir + "quad.png")));
    EXPECT_EQ(2, image.GetWidth());
    EXPECT_FALSE(image.LoadImage(FromUtf8(kDir + "missing.png")));
    EXPECT_EQ(0, image.GetWidth());
}
