// CImage and the decoder's size limit: a picture whose header claims far more
// pixels than the limit is refused while its header is read, whether it comes
// from a file or from bytes in memory.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "base/text/SafeBuf.h"
#include "platform/image/ImageDecoder.h"
#include "style/Image.h"

#include "tests/common/CraftedPictures.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

using qmtest::FromUtf8;
using qmtest::PngClaiming;
using qmtest::StatusBytes;

TEST(CImageSize, TheLimitIsTheDecoders)
{
    EXPECT_EQ(qm::image::kMaxPicturePixels, CImage::kMaxPicturePixels);
}

TEST(CImageSize, AnEnormousHeaderIsRefusedWithoutReservingItsPixels)
{
    // 20000 x 20000 fits one surface a side but is 400 million pixels (1.6 GB).
    const std::string png = PngClaiming(20000, 20000);
    qmtest::TempDir scratch;
    ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("cimage-size-")));
    const std::string path = scratch.Path() + "/oversized.png";
    std::ofstream(path, std::ios::binary) << png;

    const long long before = StatusBytes("VmPeak");
    ASSERT_GT(before, 0);
    CImage image;
    EXPECT_FALSE(image.LoadPictureFile(FromUtf8(path)));
    EXPECT_EQ(0, image.GetWidth());
    EXPECT_FALSE(image.LoadPictureMemory(png.data(), static_cast<int>(png.size())));
    EXPECT_EQ(0, image.GetHeight());
    EXPECT_EQ(nullptr, image.GetImage());
    EXPECT_LT(StatusBytes("VmPeak") - before, 256LL << 20);
}
