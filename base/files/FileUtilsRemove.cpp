// Folder removal, size and copy over POSIX directory descriptors, each a
// CFolderWalk (base/files/FolderWalk.h): iterative, never entering a link,
// and bounded in depth.

#include "base/files/FileUtilsRemove.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "base/files/FileUtilsPath.h"
#include "base/files/FolderWalk.h"
#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
#include "base/text/SafeBuf.h"

namespace {

const int kOpenDir = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// Second-level system folders (every top-level folder is refused anyway).
const char* const kSystemFolders[] = {
    "/usr/bin",
    "/usr/sbin",
    "/usr/lib",
    "/usr/lib32",
    "/usr/lib64",
    "/usr/libexec",
    "/usr/include",
    "/usr/local",
    "/usr/share",
    "/usr/src",
    "/var/lib",
    "/var/log",
    "/var/cache",
    "/var/spool",
    "/var/tmp",
    "/var/mail",
    "/var/run",
    "/var/lock",
    "/var/backups",
    "/var/opt",
    "/var/www",
    "/Library/Application Support",
    "/System/Library",
};

std::string Resolve(const std::string& path)
{
    char buf[PATH_MAX];
    if (::realpath(path.c_str(), buf))
        return buf;
    return std::string();
}

// Drops repeated and trailing slashes ("/" stays).
std::string Tidy(const std::string& path)
{
    std::string out;
    for (char c : path)
        if (!(c == '/' && !out.empty() && out.back() == '/'))
            out += c;
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

bool IsSameOrAncestor(const std::string& folder, const std::string& other)
{
    if (folder.empty() || other.empty())
        return false;
    if (folder == other || folder == "/")
        return true;
    return other.size() > folder.size() && other.compare(0, folder.size(), folder) == 0
        && other[folder.size()] == '/';
}

// The absolute form of a folder: its parent resolved, its own last step
// kept as written (it may be a link, which is removed as a link). Empty when
// the path must be refused before anything else.
std::string Canonical(const std::string& raw)
{
    std::string path = Tidy(raw);
    if (path.empty() || path == "/")
        return std::string();
    size_t slash = path.rfind('/');
    std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    if (last.empty() || last == "." || last == "..")
        return std::string();
    std::string parent = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    std::string resolved = Resolve(parent);
    if (resolved.empty())
        return std::string();
    return resolved == "/" ? "/" + last : resolved + "/" + last;
}

bool IsProtected(const std::string& canonical)
{
    if (canonical.empty() || canonical[0] != '/')
        return true;
    // Every top-level folder: "/usr", "/etc", "/home", "/tmp", "/Users" ...
    if (canonical.find('/', 1) == std::string::npos)
        return true;
    // The resolved form too, in case the path reaches a system folder through links.
    std::string target = Resolve(canonical);
    const char* home = std::getenv("HOME");
    const std::string homeAsSet = home ? Tidy(home) : std::string();
    const std::string homeResolved = homeAsSet.empty() ? std::string() : Resolve(homeAsSet);
    for (const std::string& path : {canonical, target}) {
        if (path.empty())
            continue;
        if (path.find('/', 1) == std::string::npos)
            return true;
        for (const char* system : kSystemFolders) {
            if (path == system)
                return true;
            std::string resolved = Resolve(system);
            if (!resolved.empty() && path == resolved)
                return true;
        }
        if (IsSameOrAncestor(path, homeAsSet) || IsSameOrAncestor(path, homeResolved))
            return true;
    }
    return false;
}

// Removes everything below the folder on its own file system: a file system
// mounted inside is not ours to empty.
class RemoveWalk : public CFolderWalk
{
public:
    explicit RemoveWalk(dev_t device) : m_device(device) { }

protected:
    bool EnterFolder(int, const char*, const struct stat& st) override { return st.st_dev == m_device; }
    void LeaveFolder(int dirFd, const char* name) override { ::unlinkat(dirFd, name, AT_REMOVEDIR); }
    void VisitEntry(int dirFd, const char* name, const struct stat&) override { ::unlinkat(dirFd, name, 0); }

private:
    dev_t m_device;
};

// Removes the entries of one folder that are not folders themselves.
class ClearFilesWalk : public CFolderWalk
{
protected:
    bool EnterFolder(int, const char*, const struct stat&) override { return false; }
    void LeaveFolder(int, const char*) override { }
    void VisitEntry(int dirFd, const char* name, const struct stat&) override { ::unlinkat(dirFd, name, 0); }
};

// Adds up the sizes of the regular files.
class SizeWalk : public CFolderWalk
{
public:
    double total = 0;

protected:
    bool EnterFolder(int, const char*, const struct stat&) override { return true; }
    void LeaveFolder(int, const char*) override { }
    void VisitEntry(int, const char*, const struct stat& st) override
    {
        if (S_ISREG(st.st_mode))
            total += static_cast<double>(st.st_size);
    }
};

// Copies folders and regular files into the target tree, one open target
// folder for each level of the walk; links and special files are skipped.
class CopyWalk : public CFolderWalk
{
public:
    explicit CopyWalk(int targetFd) { m_targets.push_back(targetFd); }
    ~CopyWalk() override
    {
        for (int fd : m_targets)
            ::close(fd);
    }
    CopyWalk(const CopyWalk&) = delete;
    CopyWalk& operator=(const CopyWalk&) = delete;

    bool ok = true;

protected:
    bool EnterFolder(int, const char* name, const struct stat&) override
    {
        const int parent = m_targets.back();
        // An entry already there is used only when it is a folder itself, not a link to one.
        if (::mkdirat(parent, name, 0700) != 0 && errno != EEXIST) {
            ok = false;
            return false;
        }
        const int sub = ::openat(parent, name, kOpenDir);
        if (sub < 0) {
            ok = false;
            return false;
        }
        try {
            m_targets.push_back(sub);
        } catch (...) {
            ::close(sub);
            ok = false;
            return false;
        }
        return true;
    }
    void LeaveFolder(int, const char*) override
    {
        ::close(m_targets.back());
        m_targets.pop_back();
    }
    void VisitEntry(int dirFd, const char* name, const struct stat& st) override
    {
        if (S_ISREG(st.st_mode) && !CopyFileAt(dirFd, name, m_targets.back(), name, true))
            ok = false;
    }

private:
    std::vector<int> m_targets;
};

} // namespace

bool IsProtectedFolder(const unsigned short* folder)
{
    try {
        return IsProtected(Canonical(PathToSystem(folder)));
    } catch (...) {
        return true;
    }
}

bool RemoveFiles(const unsigned short* folder)
{
    try {
        CSafeBuf trimmed(folder);
        trimmed.Trim();
        int n = trimmed.Length();
        if (n > 0 && IsPathSeparator(trimmed.GetAt(n - 1)))
            trimmed.CutAt(n - 1);
        if (trimmed.IsEmpty())
            return false;
        std::string path = Canonical(PathToSystem(static_cast<const unsigned short*>(trimmed)));
        if (IsProtected(path))
            return false;
        // The folder itself may be a link (a cache folder kept elsewhere);
        // the entries inside are never followed.
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return false;
        ClearFilesWalk walk;
        return walk.Run(fd) != CFolderWalk::End::NotOpened;
    } catch (...) {
        return false;
    }
}

bool RemoveEntireFolder(const unsigned short* folder)
{
    try {
        std::string path = Canonical(PathToSystem(folder));
        if (IsProtected(path))
            return false;
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0)
            return false;
        if (S_ISLNK(st.st_mode))
            return ::unlink(path.c_str()) == 0;
        if (!S_ISDIR(st.st_mode))
            return false;
        int fd = ::open(path.c_str(), kOpenDir);
        if (fd < 0)
            return false;
        RemoveWalk walk(st.st_dev);
        walk.Run(fd);
        // A tree deeper than the walk goes keeps what it could not reach, and the folder with it.
        return ::rmdir(path.c_str()) == 0;
    } catch (...) {
        return false;
    }
}

double GetDirectorySize(const unsigned short* folder)
{
    try {
        std::string path = PathToSystem(folder);
        if (path.empty())
            return 0;
        int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return 0;
        SizeWalk walk;
        const CFolderWalk::End end = walk.Run(fd);
        return end == CFolderWalk::End::TooDeep || end == CFolderWalk::End::NotOpened ? 0 : walk.total;
    } catch (...) {
        return 0;
    }
}

bool CopyFolderTo(const unsigned short* from, const unsigned short* to, bool, bool, bool)
{
    try {
        std::string source = PathToSystem(from);
        std::string target = PathToSystem(to);
        if (source.empty() || target.empty())
            return false;
        std::string realSource = Resolve(source);
        if (realSource.empty())
            return false;
        // A target inside the source would be copied into itself without end.
        std::string targetParent = Canonical(target);
        if (targetParent.empty() || IsSameOrAncestor(realSource, targetParent))
            return false;
        std::string realTarget = Resolve(target);
        if (!realTarget.empty() && IsSameOrAncestor(realSource, realTarget))
            return false;
        struct stat st;
        if (::mkdir(target.c_str(), 0700) != 0
            && !(errno == EEXIST && ::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
            return false;
        const int to = ::open(target.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (to < 0)
            return false;
        CopyWalk walk(to);
        const int from = ::open(source.c_str(), kOpenDir);
        if (from < 0)
            return false;
        return walk.Run(from) == CFolderWalk::End::Complete && walk.ok;
    } catch (...) {
        return false;
    }
}
