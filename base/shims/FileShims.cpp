#include "base/shims/FileShims.h"

#include "base/files/SystemPath.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes all of the bytes; false when a write fails.
bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Copies everything from `in` to `out`; false when a read or write fails.
bool CopyBytes(int in, int out)
{
    char block[8192];
    for (;;) {
        const ssize_t got = ::read(in, block, sizeof block);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!WriteAll(out, block, static_cast<size_t>(got)))
            return false;
    }
}

// A name for the copy in the destination's folder that nobody uses yet:
// made with O_EXCL, so an entry planted under that name (a link included)
// is never written through. Mode 0666 leaves the permissions to the
// process's file-creation mask, as for any file the user creates; the mask
// itself is never read or changed, so files other threads create meanwhile
// keep theirs. Answers the open descriptor, or -1.
int CreateSibling(int dir, const std::string& target, std::string& sibling)
{
    static std::atomic<unsigned> serial{0};
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        struct timespec now
        { };
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const unsigned long long mix = (static_cast<unsigned long long>(::getpid()) << 32)
            ^ static_cast<unsigned long long>(now.tv_nsec) ^ (serial++ * 0x9E3779B97F4A7C15ull);
        char name[40];
        std::snprintf(name, sizeof name, ".qmcopy-%016llx", mix);
        sibling = folder + name;
        const int fd
            = ::openat(dir, sibling.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Either path kind (UTF-16 or 8-bit) goes to the system the same way.
template <typename Unit>
bool CopyFileAtPaths(const Unit* from, const Unit* to)
{
    if (from == nullptr || to == nullptr)
        return false;
    try {
        return CopyFileAt(AT_FDCWD, PathToSystem(from), AT_FDCWD, PathToSystem(to), false);
    } catch (...) {
        return false;
    }
}

// The value's bytes in the machine's own order.
template <typename Value>
bool WriteRaw(std::FILE* file, Value value)
{
    if (file == nullptr)
        return false;
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof bytes);
    return std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
}

} // namespace

bool DeleteFile(const unsigned short* path)
{
    const std::string p = PathToSystem(path);
    return !p.empty() && unlink(p.c_str()) == 0;
}

bool DeleteFile(const char* path)
{
    const std::string p = PathToSystem(path);
    return !p.empty() && unlink(p.c_str()) == 0;
}

bool CreateDirectory(const unsigned short* path, void*)
{
    const std::string p = PathToSystem(path);
    return !p.empty() && mkdir(p.c_str(), 0700) == 0;
}

bool CopyFileAt(int fromDir, const std::string& from, int toDir, const std::string& to, bool noFollow)
{
    if (from.empty() || to.empty())
        return false;
    const int in = ::openat(fromDir, from.c_str(), O_RDONLY | O_CLOEXEC | (noFollow ? O_NOFOLLOW : 0));
    if (in < 0)
        return false;
    std::string sibling;
    const int out = CreateSibling(toDir, to, sibling);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = CopyBytes(in, out);
    if (::close(out) != 0)
        ok = false;
    ::close(in);
    if (ok && ::renameat(toDir, sibling.c_str(), toDir, to.c_str()) != 0)
        ok = false;
    if (!ok)
        ::unlinkat(toDir, sibling.c_str(), 0);
    return ok;
}

bool CopyFile(const char* from, const char* to, bool) { return CopyFileAtPaths(from, to); }

bool CopyFile(const unsigned short* from, const unsigned short* to, bool)
{
    return CopyFileAtPaths(from, to);
}

bool WriteToFile(const unsigned short* path, const char* data, int length)
{
    if (length < 0 || (length > 0 && data == nullptr))
        return false;
    const std::string p = PathToSystem(path);
    if (p.empty())
        return false;
    std::FILE* f = std::fopen(p.c_str(), "w+b");
    if (f == nullptr)
        return false;
    bool ok
        = length == 0 || std::fwrite(data, 1, static_cast<size_t>(length), f) == static_cast<size_t>(length);
    if (std::fclose(f) != 0)
        ok = false;
    return ok;
}

bool ReadFileBytes(const std::string& systemPath, std::vector<unsigned char>& bytes, std::size_t maxBytes)
{
    bytes.clear();
    if (systemPath.empty())
        return false;
    std::FILE* f = std::fopen(systemPath.c_str(), "rb");
    if (f == nullptr)
        return false;
    bool ok = true;
    try {
        unsigned char block[8192];
        size_t got;
        while (ok && (got = std::fread(block, 1, sizeof block, f)) > 0) {
            if (got > maxBytes - bytes.size())
                ok = false;
            else
                bytes.insert(bytes.end(), block, block + got);
        }
        ok = ok && std::ferror(f) == 0;
    } catch (...) {
        ok = false;
    }
    std::fclose(f);
    return ok;
}

bool WriteLongToFile(std::FILE* file, long value) { return WriteRaw(file, static_cast<std::int32_t>(value)); }

bool WriteShortToFile(std::FILE* file, unsigned short value)
{
    return WriteRaw(file, static_cast<std::uint16_t>(value));
}

long GetFileSize(std::FILE* file, void*)
{
    if (file == nullptr || std::fseek(file, 0, SEEK_END) != 0)
        return 0;
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    return size < 0 ? 0 : size;
}

char* GetFullPathName(const char* path, int size, char* out, char**)
{
    if (out == nullptr || size <= 0)
        return nullptr;
    out[0] = 0;
    if (path == nullptr)
        return nullptr;
    const size_t n = std::strlen(path);
    if (n + 1 > static_cast<size_t>(size))
        return nullptr;
    std::memcpy(out, path, n + 1);
    return out;
}
