// The control's icons loaded into a picture: the icon's bytes are decoded
// into the CImage the caller gives.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/files/UserFolders.h"
#include "style/Image.h"
#include "tests/common/FileHelpers.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using qmtest::FromUtf8;

namespace {

const std::string kPictures = QM_TEST_DATA_DIR "/picture/";

// The control makes its folders (the temporary one among them) under HOME.
class ControlIconsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.Create(qmtest::TestOutputPath("icons-home-")));
        control = new CMorvaXEditorCtrl();
        png = qmtest::ReadFile(kPictures + "grey.png"); // 5 x 1
        ASSERT_FALSE(png.empty());
        ASSERT_TRUE(control->AddIcon(FromUtf8("form"), reinterpret_cast<const unsigned char*>(png.data()),
            static_cast<int>(png.size())));
    }
    void TearDown() override
    {
        delete control;
        SetUserTempFolder(nullptr);
        SetUserCacheFolder(nullptr);
    }

    qmtest::TempHome home;
    CMorvaXEditorCtrl* control = nullptr;
    std::string png;
};

TEST_F(ControlIconsTest, TheIconIsDecodedIntoThePicture)
{
    CImage image;
    int size = -1;
    const unsigned char* stored = control->GetIconFromIcons(FromUtf8("form"), &size, &image, nullptr);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(size, static_cast<int>(png.size()));
    EXPECT_EQ(image.GetWidth(), 5);
    EXPECT_EQ(image.GetHeight(), 1);
    EXPECT_NE(image.GetImage(), nullptr);

    // The 8-bit name form loads as well, without a size.
    CImage other;
    EXPECT_EQ(control->GetIconFromIcons("form", nullptr, &other, nullptr), stored);
    EXPECT_EQ(other.GetWidth(), 5);
    EXPECT_EQ(other.GetHeight(), 1);
}

TEST_F(ControlIconsTest, AMissingIconLeavesThePictureAsItWas)
{
    CImage image;
    ASSERT_TRUE(image.LoadPictureFile(FromUtf8(kPictures + "quad.png")));
    ASSERT_EQ(image.GetWidth(), 2);
    int size = -1;
    EXPECT_EQ(control->GetIconFromIcons(FromUtf8("copy"), &size, &image, nullptr), nullptr);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(image.GetWidth(), 2);
    EXPECT_EQ(image.GetHeight(), 2);
}

TEST_F(ControlIconsTest, BytesThatAreNoPictureLeaveAnEmptyPicture)
{
    const unsigned char junk[] = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'c', 'o', 'n'};
    ASSERT_TRUE(control->AddIcon(FromUtf8("junk"), junk, sizeof junk));
    CImage image;
    EXPECT_NE(control->GetIconFromIcons(FromUtf8("junk"), nullptr, &image, nullptr), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetImage(), nullptr);
}

TEST_F(ControlIconsTest, AppendingKeepsOrderAndStaysLinear)
{
    // Walking to the tail on every append took about a minute for this many.
    const int count = 100000;
    const unsigned char byte = 1;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(control->AddIcon(FromUtf8("i" + std::to_string(i)), &byte, 1));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    int seen = 0;
    const ICON_ITEM* last = nullptr;
    for (const ICON_ITEM* icon = control->GetIcons(); icon; icon = icon->next, ++seen)
        last = icon;
    EXPECT_EQ(seen, count + 1); // after the one SetUp added
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(qmtest::ToUtf8(last->name), "i" + std::to_string(count - 1));

    control->RemoveIcons();
    ASSERT_TRUE(control->AddIcon(FromUtf8("after"), &byte, 1)); // a fresh set starts at the head
    ASSERT_TRUE(control->AddIcon(FromUtf8("next"), &byte, 1));
    ASSERT_NE(control->GetIcons(), nullptr);
    EXPECT_EQ(qmtest::ToUtf8(control->GetIcons()->name), "after");
    ASSERT_NE(control->GetIcons()->next, nullptr);
    EXPECT_EQ(qmtest::ToUtf8(control->GetIcons()->next->name), "next");
}

} // namespace
