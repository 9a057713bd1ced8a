// The debug log's entry format and its rotation.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "base/DebugLog.h"
#include "base/SafeBuf.h"
#include "base/UserFolders.h"
#include "platform/clock/Clock.h"
#include "platform/clock/LocalTime.h"
#include "platform/events/Services.h"

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// A numbered byte pattern, so a copy from the wrong offset shows.
std::string Pattern(size_t size)
{
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i)
        s[i] = static_cast<char>('a' + (i * 7 + i / 26) % 26);
    return s;
}

class DebugLogTest : public ::testing::Test
{
protected:
    std::string folder;
    std::string log;
    std::string rotated;
    qm::clock::Clock clock;

    void SetUp() override
    {
        folder = std::string(QM_TEST_OUTPUT_DIR) + "/debuglog-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::string cmd = "mkdir -p '" + folder + "'";
        ASSERT_EQ(0, std::system(cmd.c_str()));
        log = folder + "/debug.log";
        rotated = folder + "/debug1.log";
        std::remove(log.c_str());
        std::remove(rotated.c_str());
        CSafeBuf path;
        path.AssignUTF8((folder + "/").c_str());
        SetUserCacheFolder(path);

        qm::clock::LocalDateTime t;
        t.year = 2024;
        t.month = 2;
        t.day = 29;
        t.hour = 13;
        t.minute = 4;
        t.second = 5;
        qm::clock::SetLocalTimeSource([t] { return t; });
        qm::events::Services::Get().SetClock(&clock);
        clock.Advance(2500);   // 150 ticks: 2 s and 30 ticks -> 2480 ms
    }

    void TearDown() override
    {
        qm::events::Services::Get().SetClock(nullptr);
        qm::clock::SetLocalTimeSource(nullptr);
        SetUserCacheFolder(nullptr);
        std::remove(log.c_str());
        std::remove(rotated.c_str());
        rmdir(folder.c_str());
    }
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
    WriteFile(log, Pattern(512000));
    WriteLogFile("Get", "a", 1);
    EXPECT_EQ(512000u + sizeof kHead, ReadFile(log).size());

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
