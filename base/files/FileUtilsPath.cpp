// Path tests and path splitting.

#include "base/files/FileUtilsPath.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "base/files/SystemPath.h"
#include "base/text/SafeBuf.h"
#include "base/text/U16.h"

namespace {

// Index of the last separator, or -1.
int LastSeparator(const unsigned short* path, int n)
{
    for (int i = n - 1; i >= 0; --i)
        if (IsPathSeparator(path[i]))
            return i;
    return -1;
}

// Writes units [from, to) of path into a caller's array of size units.
bool WriteRange(const unsigned short* path, int from, int to, unsigned short* out, int size)
{
    if (!out || size < 1)
        return false;
    int count = to - from;
    if (count < 0)
        count = 0;
    if (count + 1 > size) {
        out[0] = 0;
        return false;
    }
    for (int i = 0; i < count; ++i)
        out[i] = path[from + i];
    out[count] = 0;
    return true;
}

void ExtensionRange(const unsigned short* path, int n, int& from, int& to)
{
    from = to = n;
    for (int i = n - 1; i >= 0 && !IsPathSeparator(path[i]); --i)
        if (path[i] == '.') {
            from = i + 1;
            return;
        }
}

} // namespace

bool DoesFileExist(const unsigned short* path)
{
    std::string file = PathToSystem(path);
    if (file.empty())
        return false;
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f)
        return false;
    struct stat st;
    bool ok = ::fstat(fileno(f), &st) == 0 && !S_ISDIR(st.st_mode);
    std::fclose(f);
    return ok;
}

long GetSizeOfFile(const unsigned short* path, long* reserved)
{
    if (reserved)
        *reserved = 0;
    std::string file = PathToSystem(path);
    struct stat st;
    if (file.empty() || ::stat(file.c_str(), &st) != 0)
        return 0;
    return static_cast<long>(st.st_size);
}

bool IsItAFolder(const unsigned short* path)
{
    int n = U16len(path);
    if (n == 0)
        return false;
    if (IsPathSeparator(path[n - 1]))
        return true;
    std::string file = PathToSystem(path);
    struct stat st;
    return !file.empty() && ::stat(file.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsSystemFolder(const unsigned short* path)
{
    if (!path)
        return false;
    for (const char* root : {"//users", "//usr", "//sbin", "//var", "//bin"})
        if (U16icmp(path, root) == 0)
            return true;
    return U16len(path) >= 4 && U16ncmp(path, "//us", 4) == 0;
}

bool IsFilenameValid(const unsigned short* name)
{
    if (!name)
        return false;
    for (const unsigned short* p = name; *p; ++p)
        if (IsPathSeparator(*p) || *p == '*' || *p == '?')
            return false;
    return true;
}

bool IsValidFilename(const unsigned short* name)
{
    if (!name || !*name || name[0] == '.')
        return false;
    for (const unsigned short* p = name; *p; ++p)
        switch (*p) {
        case ':':
        case '*':
        case '?':
        case '\\':
        case '/':
        case '"':
        case '|':
        case '>':
        case '<': return false;
        default: break;
        }
    return true;
}

void ParseFileExtension(const unsigned short* path, CSafeBuf& ext)
{
    ext.Empty();
    int n = U16len(path), from, to;
    ExtensionRange(path, n, from, to);
    ext.Copy(path + from, to - from);
}

bool ParseFileExtension(const unsigned short* path, unsigned short* ext, int size)
{
    int n = U16len(path), from, to;
    ExtensionRange(path, n, from, to);
    return WriteRange(path, from, to, ext, size);
}

void ParseFilename(const unsigned short* path, CSafeBuf& name)
{
    name.Empty();
    int n = U16len(path);
    int sep = LastSeparator(path, n);
    name.Copy(path + sep + 1, n - sep - 1);
}

bool ParseFilename(const unsigned short* path, unsigned short* name, int size)
{
    int n = U16len(path);
    return WriteRange(path, LastSeparator(path, n) + 1, n, name, size);
}

void ParseFilePath(const unsigned short* path, CSafeBuf& folder)
{
    folder.Empty();
    int n = U16len(path);
    int sep = LastSeparator(path, n);
    if (sep >= 0)
        folder.Copy(path, sep + 1);
}

bool ParseFilePath(const unsigned short* path, unsigned short* folder, int size)
{
    int n = U16len(path);
    return WriteRange(path, 0, LastSeparator(path, n) + 1, folder, size);
}

void AddNameToPath(CSafeBuf& path, const unsigned short* name, unsigned short trailing)
{
    if (!name)
        return;
    if (!path.IsEmpty() && path.GetAt(path.Length() - 1) != '/')
        path += static_cast<unsigned short>('/');
    path += name;
    if (trailing != 0 && (path.IsEmpty() || path.GetAt(path.Length() - 1) != trailing))
        path += trailing;
}
