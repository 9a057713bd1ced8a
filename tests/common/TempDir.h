#pragma once
// Scratch folders below the test output folder. A test names its folder
// with TestOutputPath (the process id and the running test's name keep the
// names of tests that run at the same time apart); a TempDir makes the
// folder fresh and removes the whole tree again when it goes away. Removal
// never follows symbolic links, and read-only entries do not stop it.

#include <gtest/gtest.h>

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace qmtest {

// QM_TEST_OUTPUT_DIR/<prefix><pid>-<test name>. The "/" in the name of a
// parameterised test becomes "_", so the path names one folder.
inline std::string TestOutputPath(const std::string& prefix)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test ? test->name() : "none";
    for (char& c : name)
        if (c == '/')
            c = '_';
    return std::string(QM_TEST_OUTPUT_DIR) + "/" + prefix + std::to_string(::getpid()) + "-" + name;
}

namespace detail {

inline int MakeWritable(const char* path, const struct stat* st, int type, struct FTW*)
{
    if (type == FTW_D || type == FTW_DNR)
        ::chmod(path, (st->st_mode & 07777) | S_IRWXU);
    return 0;
}

// Goes on after a failure; RemoveTree looks at what is left in the end.
inline int RemoveEntry(const char* path, const struct stat*, int type, struct FTW*)
{
    if (type == FTW_DP || type == FTW_DNR)
        ::rmdir(path);
    else
        ::unlink(path);
    return 0;
}

} // namespace detail

// Removes a file, a link or a whole folder tree; true when nothing is left.
inline bool RemoveTree(const std::string& path)
{
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT;
    if (S_ISDIR(st.st_mode)) {
        ::nftw(path.c_str(), detail::MakeWritable, 16, FTW_PHYS);
        ::nftw(path.c_str(), detail::RemoveEntry, 16, FTW_PHYS | FTW_DEPTH);
    } else {
        ::unlink(path.c_str());
    }
    return ::lstat(path.c_str(), &st) != 0 && errno == ENOENT;
}

// Makes the folder and any missing parents; true when it is there.
inline bool MakeFolders(const std::string& path, mode_t mode)
{
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), slash == std::string::npos ? mode : 0755) != 0
            && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class TempDir
{
public:
    TempDir() = default;
    ~TempDir() { Remove(); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Removes whatever stands at the path, then makes an empty folder there
    // with this mode (the process's file mode mask applies); false when it
    // could not.
    bool Create(const std::string& path, mode_t mode = 0700)
    {
        Remove();
        m_path = path;
        return RemoveTree(m_path) && MakeFolders(m_path, mode);
    }

    // Removes the tree now; true when nothing is left. Later calls do nothing.
    bool Remove()
    {
        if (m_path.empty())
            return true;
        const bool removed = RemoveTree(m_path);
        m_path.clear();
        return removed;
    }

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace qmtest
