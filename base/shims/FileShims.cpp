#include "base/shims/FileShims.h"

#include "base/files/SystemPath.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Copies everything from `in` to `out`; false when a read or write fails.
bool CopyStream(std::FILE* in, std::FILE* out)
{
    char block[8192];
    for (;;) {
        const size_t got = std::fread(block, 1, sizeof block, in);
        if (got > 0 && std::fwrite(block, 1, got, out) != got)
            return false;
        if (got < sizeof block)
            return std::ferror(in) == 0;
    }
}

bool CopyFileUtf8(const std::string& from, const std::string& to)
{
    if (from.empty() || to.empty())
        return false;
    std::FILE* in = std::fopen(from.c_str(), "rb");
    if (in == nullptr)
        return false;

    // Write a sibling first, then move it over the destination.
    std::string temp = to + ".qmcopyXXXXXX";
    const int fd = mkstemp(&temp[0]);
    if (fd < 0) {
        std::fclose(in);
        return false;
    }
    std::FILE* out = fdopen(fd, "wb");
    if (out == nullptr) {
        close(fd);
        unlink(temp.c_str());
        std::fclose(in);
        return false;
    }
    bool ok = CopyStream(in, out);
    if (std::fflush(out) != 0)
        ok = false;
    // A new file gets the usual permissions of a file the user creates.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    if (std::fclose(out) != 0)
        ok = false;
    std::fclose(in);
    if (ok && std::rename(temp.c_str(), to.c_str()) != 0)
        ok = false;
    if (!ok)
        unlink(temp.c_str());
    return ok;
}

// Either path kind (UTF-16 or 8-bit) goes to the system the same way.
template <typename Unit>
bool CopyFileAt(const Unit* from, const Unit* to)
{
    if (from == nullptr || to == nullptr)
        return false;
    try {
        return CopyFileUtf8(PathToSystem(from), PathToSystem(to));
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

bool CopyFile(const char* from, const char* to, bool) { return CopyFileAt(from, to); }

bool CopyFile(const unsigned short* from, const unsigned short* to, bool) { return CopyFileAt(from, to); }

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
