// The debug log's entry format and its rotation.

#include <gtest/gtest.h>

#include <string>

#include "base/app/DebugLog.h"
#include "base/files/UserFolders.h"
#include "base/text/SafeBuf.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/FixedClock.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

using qmtest::Exists;
using qmtest::ReadFile;
using qmtest::WriteFile;

namespace {

// A numbered byte pattern, so a copy from the wrong offset shows.
std::string Pattern(size_t size)
{
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
    return s;
}

// The log goes to a fresh cache folder, at a fixed local time and 2480 ms
// after the virtual clock started.
class DebugLogTest : public ::testing::Test
{
protected:
    qmtest::TempDir folder;
    std::string log;
    std::string rotated;
    qmtest::ScopedClock clock;
    qmtest::FixedLocalTime localTime;

    void SetUp() override
    {
        ASSERT_TRUE(folder.Create(qmtest::TestOutputPath("debuglog-")));
        log = folder.Path() + "/debug.log";
        rotated = folder.Path() + "/debug1.log";
        SetUserCacheFolder(qmtest::FromUtf8(folder.Path() + "/"));

        localTime.Set(qmtest::LocalTime(2024, 2, 29, 13, 4, 5));
        clock.Advance(2500); // 150 ticks: 2 s and 30 ticks -> 2480 ms
    }

    void TearDown() override { SetUserCacheFolder(nullptr); }
};

const char kHead[] = "\n2024-02-29 13:04:05[2480] [Get] ";

} // namespace

TEST_F(DebugLogTest, EntryHeadThenDataByLengthOrToTheFirstZero)
{
    WriteLogFile("Get", "abc\0def", 7);
    WriteLogFile("Get", "xyz\0ignored", -1);
    WriteLogFile("Get", "not written", 0);
    WriteLogFile("Get", nullptr, 5);
    const std::string h(kHead);
    EXPECT_EQ(h + std::string("abc\0def", 7) + h + "xyz" + h + h, ReadFile(log));
}

TEST_F(DebugLogTest, LongTagsAreWrittenWhole)
{
    const std::string tag(300, 'T');
    WriteLogFile(tag.c_str(), "d", 1);
    EXPECT_EQ("\n2024-02-29 13:04:05[2480] [" + tag + "] d", ReadFile(log));
}

TEST_F(DebugLogTest, AFullLogIsRotatedBeforeTheEntry)
{
    const std::string old = Pattern(600000);
    WriteFile(log, old);
    WriteLogFile("Get", "new", 3);
    const std::string now = ReadFile(log);
    ASSERT_EQ(344000u + sizeof kHead - 1 + 3, now.size());
    EXPECT_EQ(old.substr(256000), now.substr(0, 344000));
    EXPECT_EQ(std::string(kHead) + "new", now.substr(344000));
    EXPECT_FALSE(Exists(rotated));
}

TEST_F(DebugLogTest, RotationStartsAtExactly512001Bytes)
{
    // One byte short of the limit: the entry is appended to the whole file.
    const std::string below = Pattern(512000);
    WriteFile(log, below);
    WriteLogFile("Get", "a", 1);
    EXPECT_EQ(below + kHead + "a", ReadFile(log));

    const std::string full = Pattern(512001);
    WriteFile(log, full);
    WriteLogFile("Get", "b", 1);
    const std::string now = ReadFile(log);
    EXPECT_EQ(full.substr(256000) + kHead + "b", now);
}

TEST_F(DebugLogTest, NoCacheFolderWritesNothing)
{
    SetUserCacheFolder(nullptr);
    WriteLogFile("Get", "x", 1);
    EXPECT_FALSE(Exists(log));
}
