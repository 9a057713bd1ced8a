#include "base/files/FileFind.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>
#include <vector>

using qmtest::ToUtf8;
using qmtest::U16;
using qmtest::U16String;
using qmtest::WriteFile;

namespace {

// A folder holding a file, a plain folder, two bundle-like folders, a link to
// a folder and a file with a name outside ASCII.
class FileFindTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("filefind_"), 0755));
        root = scratch.Path();
        WriteFile(root + "/a.txt", "12345");
        mkdir((root + "/sub").c_str(), 0755);
        mkdir((root + "/Tool.APP").c_str(), 0755);
        mkdir((root + "/.app").c_str(), 0755);
        ASSERT_EQ(0, symlink("sub", (root + "/link").c_str()));
        WriteFile(root + "/\xC3\xA9t\xC3\xA9", "x");
    }

    struct Seen
    {
        std::string name;
        bool dir;
        bool dots;
    };

    // The read-ahead protocol as the system's callers use it.
    std::vector<Seen> List(CFileFind& find)
    {
        std::vector<Seen> out;
        bool more = find.FindFile(U16(U16String(root)));
        while (more) {
            more = find.FindNextFile();
            out.push_back({ToUtf8(find.GetFileName()), find.IsDirectory(), find.IsDots()});
        }
        return out;
    }

    qmtest::TempDir scratch;
    std::string root;
};

} // namespace

TEST_F(FileFindTest, ListsEveryEntryDotsFirstWithTheLastOneStillValid)
{
    CFileFind find;
    const std::vector<Seen> seen = List(find);
    std::vector<std::string> names;
    for (const Seen& s : seen)
        names.push_back(s.name);
    EXPECT_EQ((std::vector<std::string>{
                  ".", "..", ".app", "Tool.APP", "a.txt", "link", "sub", "\xC3\xA9t\xC3\xA9"}),
        names);
    // After the call that answered false the current entry is the last one.
    EXPECT_EQ("\xC3\xA9t\xC3\xA9", ToUtf8(find.GetFileName()));
    EXPECT_EQ(root + "/\xC3\xA9t\xC3\xA9", ToUtf8(find.GetFilePath()));
    EXPECT_FALSE(find.FindNextFile());
}

TEST_F(FileFindTest, FolderAndDotsTests)
{
    CFileFind find;
    for (const Seen& s : List(find)) {
        SCOPED_TRACE(s.name);
        const bool expectDir = s.name == "." || s.name == ".." || s.name == ".app" || s.name == "sub";
        EXPECT_EQ(expectDir, s.dir); // "Tool.APP" is a bundle, "link" is not followed
        EXPECT_EQ(s.name == "." || s.name == "..", s.dots);
    }
    EXPECT_FALSE(find.IsHidden());
    EXPECT_FALSE(find.IsReadOnly());
}

TEST_F(FileFindTest, SizeAndModificationTimeOfTheCurrentEntry)
{
    const timeval times[2] = {{1234567890, 0}, {1234567890, 0}};
    ASSERT_EQ(0, utimes((root + "/a.txt").c_str(), times));
    CFileFind find;
    bool more = find.FindFile(U16(U16String(root)));
    while (more) {
        more = find.FindNextFile();
        if (ToUtf8(find.GetFileName()) == "a.txt")
            break;
    }
    EXPECT_EQ(5, find.GetLength());
    SYSTEMTIME t{};
    t.wDayOfWeek = 77;
    t.wMilliseconds = 88;
    ASSERT_TRUE(find.GetLastWriteTime(t));
    EXPECT_EQ(2009, t.wYear);
    EXPECT_EQ(2, t.wMonth);
    EXPECT_EQ(13, t.wDay);
    EXPECT_EQ(23, t.wHour);
    EXPECT_EQ(31, t.wMinute);
    EXPECT_EQ(30, t.wSecond);
    EXPECT_EQ(77, t.wDayOfWeek);
    EXPECT_EQ(88, t.wMilliseconds);
}

TEST_F(FileFindTest, AFilePathFindsThatOneFile)
{
    CFileFind find;
    ASSERT_TRUE(find.FindFile(U16(U16String(root + "/a.txt"))));
    EXPECT_EQ("a.txt", ToUtf8(find.GetFileName()));
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_EQ("a.txt", ToUtf8(find.GetFileName()));
    EXPECT_EQ(root + "/a.txt", ToUtf8(find.GetFilePath()));
    EXPECT_FALSE(find.IsDirectory());
    EXPECT_EQ(5, find.GetLength());
}

TEST_F(FileFindTest, MissingReleasedAndOverlongPaths)
{
    CFileFind find;
    EXPECT_FALSE(find.FindFile(U16(U16String(root + "/missing"))));
    EXPECT_FALSE(find.FindFile(nullptr));
    ASSERT_TRUE(find.FindFile(U16(U16String(root))));
    find.ReleaseDir();
    EXPECT_FALSE(find.FindNextFile());
    EXPECT_EQ("", ToUtf8(find.GetFileName()));
    EXPECT_FALSE(find.IsDirectory());
    std::string deep = root;
    while (deep.size() < 1100)
        deep += "/..";
    EXPECT_FALSE(find.FindFile(U16(U16String(deep))));
}
