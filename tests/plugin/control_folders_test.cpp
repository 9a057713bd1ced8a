// The control's per-user folders and its document cache, under a temporary HOME.

#include "plugin/MorvaXEditorCtrl.h"

#include "base/files/UserFolders.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TempHome.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>

using qmtest::Exists;
using qmtest::FromUtf8;
using qmtest::ToUtf8;

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return static_cast<mode_t>(-1);
    return st.st_mode & 07777;
}

void Touch(const std::string& path, const std::string& text = "x") { qmtest::WriteFile(path, text); }

// Runs each test with HOME pointing at a fresh folder (a name with a blank
// and a non-ASCII letter, so the path must cross to the system as UTF-8).
class ControlFoldersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tempHome.Create(qmtest::TestOutputPath("h\xC3\xB6me "), 0755));
        home = tempHome.Path();
        support = home + "/Library/Application Support/Quillmark";
    }

    qmtest::TempHome tempHome;
    std::string home, support;
};

} // namespace

TEST_F(ControlFoldersTest, FoldersAreMadePrivateAndRecorded)
{
    const mode_t oldMask = ::umask(022);
    CMorvaXEditorCtrl control;
    ::umask(oldMask);
    EXPECT_EQ(ModeOf(support), 0700u);
    EXPECT_EQ(ModeOf(support + "/Cache"), 0700u);
    EXPECT_EQ(ModeOf(support + "/Temp"), 0700u);
    EXPECT_EQ(ToUtf8(control.GetSupportFolder()), support);
    EXPECT_EQ(ToUtf8(GetUserCacheFolder()), support + "/Cache");
    EXPECT_EQ(ToUtf8(GetUserTempFolder()), support + "/Temp");
}

TEST_F(ControlFoldersTest, ExistingLooseFoldersAreNarrowed)
{
    ASSERT_TRUE(qmtest::MakeFolders(support + "/Cache", 0700));
    ASSERT_EQ(::chmod(support.c_str(), 0717), 0);
    ASSERT_EQ(::chmod((support + "/Cache").c_str(), 0717), 0);
    ASSERT_EQ(ModeOf(support), 0717u);
    ASSERT_EQ(ModeOf(support + "/Cache"), 0717u);
    CMorvaXEditorCtrl control;
    EXPECT_EQ(ModeOf(support), 0700u);
    EXPECT_EQ(ModeOf(support + "/Cache"), 0700u);
}

TEST_F(ControlFoldersTest, ConstructionEmptiesTheTemporaryFolderOnly)
{
    {
        CMorvaXEditorCtrl first;
    }
    Touch(support + "/Temp/preview.html");
    Touch(support + "/Cache/ABC");
    ::mkdir((support + "/Temp/keep").c_str(), 0700);
    Touch(support + "/Temp/keep/inner");
    Touch(home + "/outside");
    ::symlink((home + "/outside").c_str(), (support + "/Temp/link").c_str());

    CMorvaXEditorCtrl second;
    EXPECT_FALSE(Exists(support + "/Temp/preview.html"));
    EXPECT_FALSE(Exists(support + "/Temp/link"));
    EXPECT_TRUE(Exists(home + "/outside"));            // a link is removed, never followed
    EXPECT_TRUE(Exists(support + "/Temp/keep/inner")); // sub-folders stay
    EXPECT_TRUE(Exists(support + "/Cache/ABC"));

    second.ClearCache();
    EXPECT_FALSE(Exists(support + "/Cache/ABC"));
    EXPECT_TRUE(Exists(support + "/Cache"));
}

TEST_F(ControlFoldersTest, GetCacheFileNamesByTheDigestOfTheUtf16Units)
{
    CMorvaXEditorCtrl control;
    const std::string cache = support + "/Cache";

    CSafeBuf url = FromUtf8("http://example.com/styles.xml");
    CSafeBuf cacheFile;
    EXPECT_FALSE(control.GetCacheFile(url, cacheFile)); // cache off, file absent
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    EXPECT_EQ(ToUtf8(cacheFile), cache + "/D5FF4E8018D45784DFEC84571968EC15");
#else
    EXPECT_EQ(ToUtf8(cacheFile), cache + "/B9104681E39CEB832E85DB94480FE74E");
#endif
    EXPECT_EQ(ToUtf8(url), "http://example.com/styles.xml");

    // Upper-case scheme and a non-ASCII character: hashed as UTF-16 units.
    CSafeBuf other = FromUtf8("HTTP://Example.com/\xC3\xA9");
    CSafeBuf otherFile;
    EXPECT_FALSE(control.GetCacheFile(other, otherFile));
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    EXPECT_EQ(ToUtf8(otherFile), cache + "/AA363DEFDD2B60ECF51F79BA138AD3D9");
#endif
}

TEST_F(ControlFoldersTest, GetCacheFileReadsBackOnlyWithCacheOnAndFilePresent)
{
    CMorvaXEditorCtrl control;
    CSafeBuf url = FromUtf8("http://example.com/styles.xml");
    CSafeBuf cacheFile;
    control.GetCacheFile(url, cacheFile);
    const std::string path = ToUtf8(cacheFile);

    // Present but cache off: fetch again, under the same name.
    Touch(path, "<styles/>");
    CSafeBuf again = url, againFile;
    EXPECT_FALSE(control.GetCacheFile(again, againFile));
    EXPECT_EQ(ToUtf8(again), "http://example.com/styles.xml");
    EXPECT_EQ(ToUtf8(againFile), path);

    // Cache on and present: the location becomes the cached file.
    control.EnableCache = 1;
    CSafeBuf cached = url, cachedFile;
    EXPECT_TRUE(control.GetCacheFile(cached, cachedFile));
    EXPECT_EQ(ToUtf8(cached), path);
    EXPECT_EQ(ToUtf8(cachedFile), path);

    // Cache on, file gone.
    ::unlink(path.c_str());
    CSafeBuf gone = url, goneFile;
    EXPECT_FALSE(control.GetCacheFile(gone, goneFile));
    EXPECT_EQ(ToUtf8(gone), "http://example.com/styles.xml");
    EXPECT_EQ(ToUtf8(goneFile), path);
}

TEST_F(ControlFoldersTest, OnlyHttpAddressesAreCached)
{
    CMorvaXEditorCtrl control;
    control.EnableCache = 1;
    for (const char* location :
        {"https://example.com/a.xml", "file:///tmp/a.xml", "/tmp/a.xml", "http:", "Http:", "", "ftp://x/y"}) {
        CSafeBuf url = FromUtf8(location), cacheFile = FromUtf8("stale");
        EXPECT_FALSE(control.GetCacheFile(url, cacheFile)) << location;
        EXPECT_TRUE(cacheFile.IsEmpty()) << location;
        EXPECT_EQ(ToUtf8(url), location);
    }
    CSafeBuf shortest = FromUtf8("http:/"), cacheFile;
    control.GetCacheFile(shortest, cacheFile);
    EXPECT_FALSE(cacheFile.IsEmpty());
}
