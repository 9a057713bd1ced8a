#include "base/files/FolderWalk.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const int kOpenDir = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

struct Level
{
    DIR* dir;
    std::string name; // the folder's name in its parent; empty for the first
};

} // namespace

CFolderWalk::End CFolderWalk::Run(int dirFd)
{
    DIR* first = ::fdopendir(dirFd);
    if (!first) {
        ::close(dirFd);
        return End::NotOpened;
    }
    std::vector<Level> stack;
    bool unread = false;
    bool tooDeep = false;
    try {
        stack.push_back(Level{first, std::string()});
    } catch (...) {
        ::closedir(first);
        return End::SomeUnread;
    }
    try {
        while (!stack.empty()) {
            DIR* dir = stack.back().dir;
            const int fd = ::dirfd(dir);
            errno = 0;
            const struct dirent* entry = ::readdir(dir);
            if (!entry) {
                if (errno != 0)
                    unread = true;
                const std::string name = std::move(stack.back().name);
                ::closedir(dir);
                stack.pop_back();
                if (!stack.empty())
                    LeaveFolder(::dirfd(stack.back().dir), name.c_str());
                continue;
            }
            const std::string name = entry->d_name;
            if (name == "." || name == "..")
                continue;
            struct stat st;
            if (::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
                unread = true;
                continue;
            }
            if (!S_ISDIR(st.st_mode)) {
                VisitEntry(fd, name.c_str(), st);
                continue;
            }
            // The stack holds the first folder and one level for each step down.
            if (stack.size() > static_cast<size_t>(kMaxFolderDepth)) {
                tooDeep = true;
                continue;
            }
            if (!EnterFolder(fd, name.c_str(), st))
                continue;
            const int sub = ::openat(fd, name.c_str(), kOpenDir);
            DIR* subDir = sub >= 0 ? ::fdopendir(sub) : nullptr;
            if (!subDir) {
                if (sub >= 0)
                    ::close(sub);
                unread = true;
                LeaveFolder(fd, name.c_str());
                continue;
            }
            try {
                stack.push_back(Level{subDir, name});
            } catch (...) {
                ::closedir(subDir);
                LeaveFolder(fd, name.c_str());
                throw;
            }
        }
    } catch (...) {
        // Out of memory: the walk stops where it is, leaving every folder it is in.
        while (!stack.empty()) {
            const std::string name = std::move(stack.back().name);
            ::closedir(stack.back().dir);
            stack.pop_back();
            if (!stack.empty())
                LeaveFolder(::dirfd(stack.back().dir), name.c_str());
        }
        return End::SomeUnread;
    }
    return tooDeep ? End::TooDeep : unread ? End::SomeUnread : End::Complete;
}
