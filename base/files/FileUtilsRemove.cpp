// Folder removal, size and copy over POSIX directory descriptors.
//
// Every walk opens each sub-folder relative to its parent's descriptor with
// O_NOFOLLOW and looks at entries with fstatat(AT_SYMLINK_NOFOLLOW), so a
// symbolic link (even one swapped in while the walk runs) is never entered.

#include "base/files/FileUtilsRemove.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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

// Calls visit(name, status) for every entry of the open folder dirFd other
// than "." and "..", with the entry's own status (a link is not followed).
// Takes over dirFd and closes it. Answers the number of entries skipped
// because their status could not be read, or -1 when the folder could not be
// read at all.
template <typename Visit>
int ForEachEntry(int dirFd, Visit visit)
{
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return -1;
    }
    int unread = 0;
    while (struct dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st;
        if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            ++unread;
            continue;
        }
        visit(name, st);
    }
    ::closedir(dir);
    return unread;
}

// Removes everything inside the open folder dirFd (taken over and closed).
void ClearFolder(int dirFd, dev_t device)
{
    ForEachEntry(dirFd, [dirFd, device](const char* name, const struct stat& st) {
        if (S_ISDIR(st.st_mode)) {
            // A file system mounted here is not ours to empty.
            if (st.st_dev != device)
                return;
            int sub = ::openat(dirFd, name, kOpenDir);
            if (sub >= 0)
                ClearFolder(sub, device);
            ::unlinkat(dirFd, name, AT_REMOVEDIR);
        } else {
            ::unlinkat(dirFd, name, 0);
        }
    });
}

double FolderSize(int dirFd, int depth)
{
    double total = 0;
    ForEachEntry(dirFd, [dirFd, depth, &total](const char* name, const struct stat& st) {
        if (S_ISREG(st.st_mode)) {
            total += static_cast<double>(st.st_size);
        } else if (S_ISDIR(st.st_mode) && depth < 1000) {
            int sub = ::openat(dirFd, name, kOpenDir);
            if (sub >= 0)
                total += FolderSize(sub, depth + 1);
        }
    });
    return total;
}

bool CopyTree(const std::string& from, const std::string& to, int depth)
{
    if (depth > 1000)
        return false;
    struct stat st;
    if (::mkdir(to.c_str(), 0700) != 0
        && !(errno == EEXIST && ::stat(to.c_str(), &st) == 0 && S_ISDIR(st.st_mode)))
        return false;
    int fd = ::open(from.c_str(), kOpenDir);
    if (fd < 0)
        return false;
    bool ok = true;
    const int unread = ForEachEntry(fd, [&](const char* name, const struct stat& entry) {
        std::string source = from + "/" + name;
        std::string target = to + "/" + name;
        if (S_ISDIR(entry.st_mode))
            ok = CopyTree(source, target, depth + 1) && ok;
        else if (S_ISREG(entry.st_mode))
            ok = CopyFile(source.c_str(), target.c_str(), false) && ok;
    });
    return unread == 0 && ok;
}

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
        if (n > 0 && (trimmed.GetAt(n - 1) == '/' || trimmed.GetAt(n - 1) == '\\'))
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
        return ForEachEntry(fd, [fd](const char* name, const struct stat& st) {
            if (!S_ISDIR(st.st_mode))
                ::unlinkat(fd, name, 0);
        }) >= 0;
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
        ClearFolder(fd, st.st_dev);
        return ::rmdir(path.c_str()) == 0;
    } catch (...) {
        return false;
    }
}

double GetDirectorySize(const unsigned short* folder)
{
    std::string path = PathToSystem(folder);
    if (path.empty())
        return 0;
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    return FolderSize(fd, 0);
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
        return CopyTree(source, target, 0);
    } catch (...) {
        return false;
    }
}
