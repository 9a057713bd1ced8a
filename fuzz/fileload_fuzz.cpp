// Text-file loading with encoding detection and picture-type recognition on
// fuzzed file contents, written to a temporary file.

#include "fuzz/FuzzText.h"

#include "base/files/FileUtilsImage.h"
#include "base/files/FileUtilsLoad.h"
#include "base/text/SafeBuf.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

const std::string& TempPath()
{
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        std::string p = std::string(dir && *dir ? dir : "/tmp") + "/qm_fileload_fuzz_XXXXXX";
        int fd = mkstemp(&p[0]);
        if (fd >= 0)
            close(fd);
        return p;
    }();
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 65536)
        return 0;
    // Picture type straight from the bytes (an exact-size copy catches overreads).
    std::vector<unsigned char> exact(data, data + size);
    CSafeBuf ext;
    int type = CheckImageType(exact.data(), static_cast<long>(size), &ext);
    QM_FUZZ_CHECK(type >= 0 && type <= 4);
    QM_FUZZ_CHECK((type == 0) == ext.IsEmpty());

    const std::string& path = TempPath();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return 0;
    if (size)
        std::fwrite(data, 1, size, f);
    std::fclose(f);

    CSafeBuf ext2;
    QM_FUZZ_CHECK(CheckImageFileType(reinterpret_cast<const unsigned char*>(path.c_str()), &ext2) == type);

    CSafeBuf text;
    const bool decodeUTF8 = size % 3 != 0;
    QM_FUZZ_CHECK(LoadFileToBuffer(path.c_str(), &text, decodeUTF8));
    QM_FUZZ_CHECK(text.Length() <= static_cast<int>(size));
    std::vector<unsigned short> wpath = qmfuzz::Widen(path);
    unsigned short* array = nullptr;
    QM_FUZZ_CHECK(LoadFileToBuffer(wpath.data(), &array, !decodeUTF8));
    delete[] array;
    CSafeBuf other;
    QM_FUZZ_CHECK(LoadFileToBuffer(wpath.data(), &other, decodeUTF8));
    return 0;
}
