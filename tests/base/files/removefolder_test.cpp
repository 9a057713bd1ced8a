// Folder removal (protected paths, symbolic links), file clearing, folder
// size and copying, on trees built under the test output folder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/files/FileUtilsRemove.h"
#include "base/files/FolderWalk.h"
#include "base/text/SafeBuf.h"

#include "tests/common/FileHelpers.h"
#include "tests/common/ScopedEnv.h"
#include "tests/common/TempDir.h"
#include "tests/common/TextHelpers.h"

using qmtest::Exists;
using qmtest::FromUtf8;

namespace {

// A fresh folder for each test to build its tree in; HOME comes back as it
// was, whatever a test points it at.
class FolderTree : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(scratch.Create(qmtest::TestOutputPath("removefolder-"))); }
    void TearDown() override
    {
        const std::string path = scratch.Path();
        if (!scratch.Remove())
            ADD_FAILURE() << "could not clean " << path;
    }
    void Dir(const std::string& rel) { ASSERT_EQ(::mkdir(P(rel).c_str(), 0700), 0) << rel; }
    void File(const std::string& rel, const std::string& text = "x")
    {
        ASSERT_TRUE(qmtest::WriteFile(P(rel), text)) << P(rel);
    }
    void Link(const std::string& target, const std::string& rel)
    {
        ASSERT_EQ(::symlink(target.c_str(), P(rel).c_str()), 0) << rel;
    }
    std::string P(const std::string& rel) const { return scratch.Path() + "/" + rel; }

    // Makes rel/d/d/... levels deep with a 5-byte file at the bottom. The
    // path grows past what a path may hold, so each level is made from the
    // one above it.
    void Chain(const std::string& rel, int levels)
    {
        Dir(rel);
        int fd = ::open(P(rel).c_str(), O_RDONLY | O_DIRECTORY);
        ASSERT_GE(fd, 0);
        for (int i = 0; i < levels && fd >= 0; ++i) {
            ASSERT_EQ(::mkdirat(fd, "d", 0700), 0) << i;
            const int sub = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
            ::close(fd);
            fd = sub;
        }
        ASSERT_GE(fd, 0);
        const int file = ::openat(fd, "f", O_WRONLY | O_CREAT, 0600);
        EXPECT_EQ(::write(file, "bytes", 5), 5);
        ::close(file);
        ::close(fd);
    }
    // Takes a chain apart from the top, one level at a time, with short paths.
    void Unchain(const std::string& rel)
    {
        const std::string top = P(rel) + "/d";
        while (::rename((top + "/d").c_str(), P("lifted").c_str()) == 0) {
            ::unlinkat(AT_FDCWD, (top + "/f").c_str(), 0);
            ASSERT_EQ(::rmdir(top.c_str()), 0);
            ASSERT_EQ(::rename(P("lifted").c_str(), top.c_str()), 0);
        }
        EXPECT_TRUE(RemoveEntireFolder(FromUtf8(P(rel))));
    }

    qmtest::ScopedEnv home{"HOME"};
    qmtest::TempDir scratch;
};

} // namespace

TEST(ProtectedFolders, SystemRootsHomeAndDotsAreRefused)
{
    const char* refused[] = {"", "/", "//", "/usr", "/usr/", "//usr//", "/bin", "/sbin", "/lib", "/lib64",
        "/etc", "/var", "/boot", "/dev", "/proc", "/sys", "/opt", "/root", "/home", "/tmp", "/System",
        "/Library", "/Users", "/Volumes", "/cores", "/mach", "/usr/local", "/usr/lib", "/var/tmp", ".", "..",
        "/tmp/..", "/tmp/.", "/usr/bin/.."};
    for (const char* path : refused) {
        EXPECT_TRUE(IsProtectedFolder(FromUtf8(path))) << path;
    }
    EXPECT_TRUE(IsProtectedFolder(nullptr));
    EXPECT_FALSE(RemoveEntireFolder(nullptr));
    EXPECT_FALSE(RemoveEntireFolder(FromUtf8("")));
    EXPECT_FALSE(RemoveFiles(FromUtf8("  ")));
    EXPECT_FALSE(IsProtectedFolder(FromUtf8("/tmp/some-work-folder")));
}

TEST_F(FolderTree, RemovesTheWholeTreeButNotWhatLinksPointTo)
{
    Dir("victim");
    Dir("victim/sub");
    Dir("victim/sub/deeper");
    File("victim/a.txt");
    File("victim/sub/deeper/c.txt");
    Dir("sibling");
    Dir("sibling/inner");
    File("sibling/keep.txt");
    File("sibling/inner/keep2.txt");
    Link("../sibling", "victim/dir-link");
    Link("../../sibling/keep.txt", "victim/sub/file-link");
    Link("/nonexistent/target", "victim/dangling");

    EXPECT_TRUE(RemoveEntireFolder(FromUtf8(P("victim/"))));
    EXPECT_FALSE(Exists(P("victim")));
    EXPECT_TRUE(Exists(P("sibling/keep.txt")));
    EXPECT_TRUE(Exists(P("sibling/inner/keep2.txt")));

    // A link given as the folder itself is removed as a link.
    Link("sibling", "top-link");
    EXPECT_TRUE(RemoveEntireFolder(FromUtf8(P("top-link"))));
    EXPECT_FALSE(Exists(P("top-link")));
    EXPECT_TRUE(Exists(P("sibling/inner/keep2.txt")));

    // A plain file is not a folder.
    EXPECT_FALSE(RemoveEntireFolder(FromUtf8(P("sibling/keep.txt"))));
    EXPECT_TRUE(Exists(P("sibling/keep.txt")));
}

TEST_F(FolderTree, HomeFolderAndItsAncestorsAreRefused)
{
    Dir("home");
    Dir("home/user");
    File("home/user/notes.txt");
    Dir("home/user/Cache");
    File("home/user/Cache/page.html");
    ::setenv("HOME", P("home/user").c_str(), 1);

    EXPECT_FALSE(RemoveEntireFolder(FromUtf8(P("home/user"))));
    EXPECT_FALSE(RemoveEntireFolder(FromUtf8(P("home/user/"))));
    EXPECT_FALSE(RemoveEntireFolder(FromUtf8(P("home/user/Cache/.."))));
    EXPECT_FALSE(RemoveEntireFolder(FromUtf8(P("home"))));
    EXPECT_FALSE(RemoveFiles(FromUtf8(P("home/user"))));
    EXPECT_TRUE(Exists(P("home/user/notes.txt")));

    // Below the home folder is fine.
    EXPECT_TRUE(RemoveEntireFolder(FromUtf8(P("home/user/Cache"))));
    EXPECT_FALSE(Exists(P("home/user/Cache")));
    EXPECT_TRUE(Exists(P("home/user/notes.txt")));

    // "." is refused by its last step, wherever it leads.
    char* before = ::getcwd(nullptr, 0);
    ASSERT_NE(before, nullptr);
    const std::string cwd = before;
    std::free(before);
    ASSERT_EQ(::chdir(P("home/user").c_str()), 0);
    const bool removed = RemoveEntireFolder(FromUtf8("."));
    ASSERT_EQ(::chdir(cwd.c_str()), 0);
    EXPECT_FALSE(removed);
    EXPECT_TRUE(Exists(P("home/user/notes.txt")));
}

TEST_F(FolderTree, RemoveFilesClearsOneLevelOnly)
{
    Dir("cache");
    Dir("cache/keepdir");
    File("cache/keepdir/inside.txt");
    File("cache/one.html");
    File("cache/two.txt");
    Dir("other");
    File("other/target.txt");
    Link("../other/target.txt", "cache/link.txt");
    Link("../other", "cache/dir-link");

    EXPECT_TRUE(RemoveFiles(FromUtf8("  " + P("cache") + "/ \t")));
    EXPECT_FALSE(Exists(P("cache/one.html")));
    EXPECT_FALSE(Exists(P("cache/two.txt")));
    EXPECT_FALSE(Exists(P("cache/link.txt")));
    EXPECT_FALSE(Exists(P("cache/dir-link")));
    EXPECT_TRUE(Exists(P("cache/keepdir/inside.txt")));
    EXPECT_TRUE(Exists(P("other/target.txt")));
    EXPECT_FALSE(RemoveFiles(FromUtf8(P("missing"))));
}

TEST_F(FolderTree, SizeIgnoresLinksAndCopyReproducesTheTree)
{
    Dir("src");
    Dir("src/sub");
    File("src/a.bin", std::string(100, 'a'));
    File("src/sub/b.bin", std::string(23, 'b'));
    Link("..", "src/sub/loop"); // would never end if followed
    Link("a.bin", "src/alias");

    EXPECT_EQ(GetDirectorySize(FromUtf8(P("src"))), 123.0);
    EXPECT_EQ(GetDirectorySize(FromUtf8(P("missing"))), 0.0);

    EXPECT_TRUE(CopyFolderTo(FromUtf8(P("src")), FromUtf8(P("dst"))));
    EXPECT_EQ(GetDirectorySize(FromUtf8(P("dst"))), 123.0);
    EXPECT_TRUE(Exists(P("dst/sub/b.bin")));
    EXPECT_FALSE(Exists(P("dst/alias")));

    // Into itself: refused before anything is made.
    EXPECT_FALSE(CopyFolderTo(FromUtf8(P("src")), FromUtf8(P("src/sub/copy"))));
    EXPECT_FALSE(Exists(P("src/sub/copy")));
    EXPECT_FALSE(CopyFolderTo(FromUtf8(P("missing")), FromUtf8(P("dst2"))));
    EXPECT_FALSE(CopyFolderTo(FromUtf8(P("src")), nullptr));
}

TEST_F(FolderTree, WalksStopAtTheirDepthBoundAndAnswerFailure)
{
    // At the bound every walk goes all the way.
    Chain("fits", kMaxFolderDepth);
    EXPECT_EQ(GetDirectorySize(FromUtf8(P("fits"))), 5.0);
    EXPECT_TRUE(CopyFolderTo(FromUtf8(P("fits")), FromUtf8(P("fits-copy"))));
    EXPECT_EQ(GetDirectorySize(FromUtf8(P("fits-copy"))), 5.0);
    EXPECT_TRUE(RemoveEntireFolder(FromUtf8(P("fits-copy"))));
    EXPECT_TRUE(RemoveEntireFolder(FromUtf8(P("fits"))));

    // One level more, and a tree of 5,000 levels: no walk recurses or holds
    // a descriptor per level, and each answers failure.
    Chain("over", kMaxFolderDepth + 1);
    EXPECT_EQ(GetDirectorySize(FromUtf8(P("over"))), 0.0);
    Chain("deep", 5000);
    EXPECT_FALSE(RemoveEntireFolder(FromUtf8(P("deep"))));
    EXPECT_TRUE(Exists(P("deep/d")));
    EXPECT_EQ(GetDirectorySize(FromUtf8(P("deep"))), 0.0);
    EXPECT_FALSE(CopyFolderTo(FromUtf8(P("deep")), FromUtf8(P("deep-copy"))));
    EXPECT_TRUE(RemoveEntireFolder(FromUtf8(P("deep-copy"))));
    Unchain("over");
    Unchain("deep");
}
