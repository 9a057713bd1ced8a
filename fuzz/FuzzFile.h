#pragma once
// Helpers for fuzz targets whose reader takes a file: a scratch folder of the
// process's own (under TMPDIR, removed with everything in it at exit), files
// written into it from fuzz bytes, and whole-file reads for checking.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace qmfuzz {

class ScratchFolder
{
public:
    static const std::string& Path()
    {
        static ScratchFolder folder;
        return folder.m_path;
    }

    // Removes everything inside the folder (readers may leave files behind).
    static void Empty()
    {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(Path(), ec))
            std::filesystem::remove_all(entry.path(), ec);
    }

private:
    ScratchFolder()
    {
        const char* dir = std::getenv("TMPDIR");
        std::string p = std::string(dir && *dir ? dir : "/tmp") + "/qm_fuzz_XXXXXX";
        if (mkdtemp(&p[0]))
            m_path = p;
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    std::string m_path;
};

// Writes the bytes to name in the scratch folder (replacing the file) and
// answers its path; empty when it cannot be written.
inline std::string WriteScratchFile(const std::string& name, const void* data, size_t size)
{
    if (ScratchFolder::Path().empty())
        return std::string();
    std::string path = ScratchFolder::Path() + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return std::string();
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = std::fclose(f) == 0 && ok;
    return ok ? path : std::string();
}

// The whole file; false when it cannot be read.
inline bool ReadWholeFile(const std::string& path, std::string& out)
{
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char chunk[4096];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        out.append(chunk, n);
    std::fclose(f);
    return true;
}

inline bool FileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

} // namespace qmfuzz
