// Folder removal (protected paths, symbolic links), file clearing, folder
// size and copying, on trees built under the test output folder.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "base/FileUtilsRemove.h"
#include "base/SafeBuf.h"

namespace {

CSafeBuf W(const std::string& path)
{
    CSafeBuf p;
    p.AssignUTF8(path.c_str());
    return p;
}

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

void MakeFile(const std::string& path, const std::string& text)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

class FolderTree : public ::testing::Test
{
protected:
    void SetUp() override
    {
        base = std::string(QM_TEST_OUTPUT_DIR) + "/removefolder-" + std::to_string(::getpid()) + "-"
               + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        Wipe();
        ASSERT_EQ(::mkdir(base.c_str(), 0700), 0);
        const char* home = std::getenv("HOME");
        savedHome = home ? home : "";
        hadHome = home != nullptr;
    }
    void TearDown() override
    {
        if (hadHome)
            ::setenv("HOME", savedHome.c_str(), 1);
        else
            ::unsetenv("HOME");
        Wipe();
    }
    void Wipe()
    {
        std::string cmd = "rm -rf '" + base + "'";
        if (std::system(cmd.c_str()) != 0)
            ADD_FAILURE() << "could not clean " << base;
    }
    void Dir(const std::string& rel) { ASSERT_EQ(::mkdir((base + "/" + rel).c_str(), 0700), 0) << rel; }
    void File(const std::string& rel, const std::string& text = "x") { MakeFile(base + "/" + rel, text); }
    void Link(const std::string& target, const std::string& rel)
    {
        ASSERT_EQ(::symlink(target.c_str(), (base + "/" + rel).c_str()), 0) << rel;
    }
    std::string P(const std::string& rel) const { return base + "/" + rel; }

    std::string base;
    std::string savedHome;
    bool hadHome = false;
};

} // namespace

TEST(ProtectedFolders, SystemRootsHomeAndDotsAreRefused)
{
    const char* refused[] = {"", "/", "//", "/usr", "/usr/", "//usr//", "/bin", "/sbin", "/lib", "/lib64",
                             "/etc", "/var", "/boot", "/dev", "/proc", "/sys", "/opt", "/root", "/home",
                             "/tmp", "/System", "/Library", "/Users", "/Volumes", "/cores", "/mach",
                             "/usr/local", "/usr/lib", "/var/tmp", ".", "..", "/tmp/..", "/tmp/.",
                             "/usr/bin/.."};
    for (const char* path : refused) {
        EXPECT_TRUE(IsProtectedFolder(W(path))) << path;
    }
    EXPECT_TRUE(IsProtectedFolder(nullptr));
    EXPECT_FALSE(RemoveEntireFolder(nullptr));
    EXPECT_FALSE(RemoveEntireFolder(W("")));
    EXPECT_FALSE(RemoveFiles(W("  ")));
    EXPECT_FALSE(IsProtectedFolder(W("/tmp/some-work-folder")));
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

    EXPECT_TRUE(RemoveEntireFolder(W(P("victim/"))));
    EXPECT_FALSE(Exists(P("victim")));
    EXPECT_TRUE(Exists(P("sibling/keep.txt")));
    EXPECT_TRUE(Exists(P("sibling/inner/keep2.txt")));

    // A link given as the folder itself is removed as a link.
    Link("sibling", "top-link");
    EXPECT_TRUE(RemoveEntireFolder(W(P("top-link"))));
    EXPECT_FALSE(Exists(P("top-link")));
    EXPECT_TRUE(Exists(P("sibling/inner/keep2.txt")));

    // A plain file is not a folder.
    EXPECT_FALSE(RemoveEntireFolder(W(P("sibling/keep.txt"))));
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

    EXPECT_FALSE(RemoveEntireFolder(W(P("home/user"))));
    EXPECT_FALSE(RemoveEntireFolder(W(P("home/user/"))));
    EXPECT_FALSE(RemoveEntireFolder(W(P("home/user/Cache/.."))));
    EXPECT_FALSE(RemoveEntireFolder(W(P("home"))));
    EXPECT_FALSE(RemoveFiles(W(P("home/user"))));
    EXPECT_TRUE(Exists(P("home/user/notes.txt")));

    // Below the home folder is fine.
    EXPECT_TRUE(RemoveEntireFolder(W(P("home/user/Cache"))));
    EXPECT_FALSE(Exists(P("home/user/Cache")));
    EXPECT_TRUE(Exists(P("home/user/notes.txt")));

    // "." is refused by its last step, wherever it leads.
    ASSERT_EQ(::chdir(P("home/user").c_str()), 0);
    EXPECT_FALSE(RemoveEntireFolder(W(".")));
    EXPECT_TRUE(Exists(P("home/user/notes.txt")));
    ASSERT_EQ(::chdir(QM_TEST_OUTPUT_DIR), 0);
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

    EXPECT_TRUE(RemoveFiles(W("  " + P("cache") + "/ \t")));
    EXPECT_FALSE(Exists(P("cache/one.html")));
    EXPECT_FALSE(Exists(P("cache/two.txt")));
    EXPECT_FALSE(Exists(P("cache/link.txt")));
    EXPECT_FALSE(Exists(P("cache/dir-link")));
    EXPECT_TRUE(Exists(P("cache/keepdir/inside.txt")));
    EXPECT_TRUE(Exists(P("other/target.txt")));
    EXPECT_FALSE(RemoveFiles(W(P("missing"))));
}

TEST_F(FolderTree, SizeIgnoresLinksAndCopyReproducesTheTree)
{
    Dir("src");
    Dir("src/sub");
    File("src/a.bin", std::string(100, 'a'));
    File("src/sub/b.bin", std::string(23, 'b'));
    Link("..", "src/sub/loop");   // would never end if followed
    Link("a.bin", "src/alias");

    EXPECT_EQ(GetDirectorySize(W(P("src"))), 123.0);
    EXPECT_EQ(GetDirectorySize(W(P("missing"))), 0.0);

    EXPECT_TRUE(CopyFolderTo(W(P("src")), W(P("dst"))));
    EXPECT_EQ(GetDirectorySize(W(P("dst"))), 123.0);
    EXPECT_TRUE(Exists(P("dst/sub/b.bin")));
    EXPECT_FALSE(Exists(P("dst/alias")));

    // Into itself: refused before anything is made.
    EXPECT_FALSE(CopyFolderTo(W(P("src")), W(P("src/sub/copy"))));
    EXPECT_FALSE(Exists(P("src/sub/copy")));
    EXPECT_FALSE(CopyFolderTo(W(P("missing")), W(P("dst2"))));
    EXPECT_FALSE(CopyFolderTo(W(P("src")), nullptr));
}
