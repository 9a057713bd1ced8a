#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using qmtest::ReadFile;
using qmtest::U16;
using qmtest::U16String;
using qmtest::WriteFile;

namespace {

std::atomic<int> g_umaskCalls{0};

} // namespace

// Every umask call of this test program comes here (and goes on to the
// system), so a test sees whether the code under test touched the
// process-wide mask, which no single-threaded test could tell otherwise.
extern "C" mode_t umask(mode_t mask) noexcept
{
    ++g_umaskCalls;
    return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

namespace {

// A fresh folder under the test output folder for each test.
class FilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("files_"), 0755));
        dir = scratch.Path();
    }

    qmtest::TempDir scratch;
    std::string dir;
};

} // namespace

TEST(SystemPath, Utf16BecomesUtf8AndOverlongPathsAreRefused)
{
    EXPECT_EQ("/tmp/caf\xC3\xA9/\xE6\x97\xA5\xF0\x9F\x98\x80", PathToSystem(U16(u"/tmp/café/日😀")));
    EXPECT_EQ("", PathToSystem(static_cast<const unsigned short*>(nullptr)));
    EXPECT_EQ("", PathToSystem(U16(u"")));
    std::u16string longest(1023, u'a');
    EXPECT_EQ(1023u, PathToSystem(U16(longest.c_str())).size());
    longest += u'a';
    EXPECT_EQ("", PathToSystem(U16(longest.c_str())));
    std::u16string wide(511, u'é'); // two bytes each: 1022 bytes fit, 1024 do not
    EXPECT_EQ(1022u, PathToSystem(U16(wide.c_str())).size());
    wide += u'é';
    EXPECT_EQ("", PathToSystem(U16(wide.c_str())));
    EXPECT_EQ("", PathToSystem(std::string(1024, 'b').c_str()));
}

TEST_F(FilesTest, CreateDirectoryMakesPrivateFoldersWhateverTheMask)
{
    const mode_t old = umask(0);
    const std::u16string path = U16String(dir + "/made");
    const bool made = CreateDirectory(U16(path.c_str()), nullptr);
    umask(old);
    ASSERT_TRUE(made);
    struct stat st
    { };
    ASSERT_EQ(0, stat((dir + "/made").c_str(), &st));
    EXPECT_EQ(0700u, st.st_mode & 07777);
    EXPECT_FALSE(CreateDirectory(U16(path.c_str()))); // already there
}

TEST_F(FilesTest, NonAsciiNamesNameTheRightFile)
{
    const std::u16string path = U16String(dir) + u"/Résumé 日本.txt";
    ASSERT_TRUE(WriteToFile(U16(path.c_str()), "abc", 3));
    EXPECT_EQ("abc", ReadFile(dir + "/R\xC3\xA9sum\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.txt"));
    EXPECT_TRUE(DeleteFile(U16(path.c_str())));
    EXPECT_FALSE(DeleteFile(U16(path.c_str())));
    EXPECT_FALSE(DeleteFile(static_cast<const char*>(nullptr)));
}

TEST_F(FilesTest, CopyReadsReadOnlySourcesAndReplacesTheDestination)
{
    const std::string src = dir + "/src.bin", dst = dir + "/dst.bin";
    std::string data;
    for (int i = 0; i < 20000; ++i) // several copy blocks and a short last one
        data += static_cast<char>(i * 7);
    WriteFile(src, data);
    ASSERT_EQ(0, chmod(src.c_str(), 0444));
    WriteFile(dst, "old and longer than nothing");
    EXPECT_TRUE(CopyFile(src.c_str(), dst.c_str(), true)); // the flag plays no part
    EXPECT_EQ(data, ReadFile(dst));
    EXPECT_EQ(data, ReadFile(src));

    const std::u16string wsrc = U16String(src), wdst = U16String(dir) + u"/copié.bin";
    EXPECT_TRUE(CopyFile(U16(wsrc.c_str()), U16(wdst.c_str()), false));
    EXPECT_EQ(data, ReadFile(dir + "/copi\xC3\xA9.bin"));
}

TEST_F(FilesTest, CopyLeavesTheMaskAloneAndFollowsIt)
{
    const std::string src = dir + "/src", dst = dir + "/dst";
    WriteFile(src, "data");
    const mode_t old = umask(027);
    g_umaskCalls = 0;
    const bool copied = CopyFile(src.c_str(), dst.c_str(), false);
    const int calls = g_umaskCalls;
    umask(old);
    ASSERT_TRUE(copied);
    // A thread creating a file while the mask was changed would get the wrong one.
    EXPECT_EQ(0, calls);
    struct stat st
    { };
    ASSERT_EQ(0, stat(dst.c_str(), &st));
    EXPECT_EQ(0640u, st.st_mode & 07777);
}

TEST_F(FilesTest, FailedCopiesReportFailureAndLeaveTheDestination)
{
    const std::string src = dir + "/src", dst = dir + "/dst";
    WriteFile(dst, "keep me");
    EXPECT_FALSE(CopyFile((dir + "/missing").c_str(), dst.c_str(), false));
    EXPECT_EQ("keep me", ReadFile(dst));
    WriteFile(src, "x");
    EXPECT_FALSE(CopyFile(src.c_str(), (dir + "/no/such/folder/f").c_str(), false));
    EXPECT_FALSE(CopyFile(src.c_str(), dir.c_str(), false)); // a folder is no file
    EXPECT_FALSE(CopyFile(static_cast<const char*>(nullptr), dst.c_str(), false));
    EXPECT_FALSE(CopyFile(U16(u"x"), static_cast<const unsigned short*>(nullptr), false));
    // Nothing half-written is left behind.
    std::string listing;
    FILE* p = popen(("ls -A '" + dir + "'").c_str(), "r");
    char buf[256];
    while (p && fgets(buf, sizeof buf, p))
        listing += buf;
    if (p)
        pclose(p);
    EXPECT_EQ("dst\nsrc\n", listing);
}

TEST_F(FilesTest, WriteToFileTruncatesAndRefusesBadLengths)
{
    const std::string path = dir + "/w";
    const std::u16string wpath = U16String(path);
    WriteFile(path, "previous content");
    EXPECT_TRUE(WriteToFile(U16(wpath.c_str()), "new", 3));
    EXPECT_EQ("new", ReadFile(path));
    EXPECT_TRUE(WriteToFile(U16(wpath.c_str()), nullptr, 0));
    EXPECT_EQ("", ReadFile(path));
    EXPECT_FALSE(WriteToFile(U16(wpath.c_str()), "abc", -1));
    EXPECT_FALSE(WriteToFile(U16(wpath.c_str()), nullptr, 4));
    EXPECT_FALSE(WriteToFile(U16((U16String(dir) + u"/none/x").c_str()), "a", 1));
}

TEST_F(FilesTest, IntegersAreWrittenAsFourAndTwoBytesLeastSignificantFirst)
{
    const std::string path = dir + "/ints";
    FILE* f = std::fopen(path.c_str(), "w+b");
    ASSERT_NE(nullptr, f);
    EXPECT_TRUE(WriteLongToFile(f, 0x01020304L));
    EXPECT_TRUE(WriteLongToFile(f, -2L));
    EXPECT_TRUE(WriteShortToFile(f, 0xABCD));
    EXPECT_EQ(10L, GetFileSize(f, nullptr));
    EXPECT_EQ(0L, std::ftell(f)); // back at the start
    std::fclose(f);
    EXPECT_EQ(std::string("\x04\x03\x02\x01\xFE\xFF\xFF\xFF\xCD\xAB", 10), ReadFile(path));
    EXPECT_FALSE(WriteLongToFile(nullptr, 1));
    EXPECT_EQ(0L, GetFileSize(nullptr, nullptr));
}

TEST(FullPathName, CopiesUnchangedWithinTheRoomGiven)
{
    char out[8] = "zzzzzzz";
    EXPECT_EQ(out, GetFullPathName("rel/a", sizeof out, out, nullptr));
    EXPECT_STREQ("rel/a", out);
    EXPECT_EQ(out, GetFullPathName("1234567", sizeof out, out, nullptr));
    EXPECT_EQ(nullptr, GetFullPathName("12345678", sizeof out, out, nullptr));
    EXPECT_STREQ("", out);
    EXPECT_EQ(nullptr, GetFullPathName("a", 0, out, nullptr));
    EXPECT_EQ(nullptr, GetFullPathName("a", 8, nullptr, nullptr));
}
