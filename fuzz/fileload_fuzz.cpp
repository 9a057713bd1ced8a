// Text-file loading with encoding detection, CSafeBuf's raw-unit loading
// and picture-type recognition on fuzzed file contents, written to a
// temporary file.

#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzText.h"

#include "base/files/FileUtilsImage.h"
#include "base/files/FileUtilsLoad.h"
#include "base/text/SafeBuf.h"

#include <cstring>
#include <string>

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

    const std::string path = qmfuzz::WriteScratchFile("load.bin", data, size);
    if (path.empty())
        return 0;

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

    // Raw units in host order: every whole unit, zeros included; an odd last byte is dropped.
    CSafeBuf units("stale");
    QM_FUZZ_CHECK(units.LoadFile(wpath.data()));
    QM_FUZZ_CHECK(units.Length() == static_cast<int>(size / 2));
    const unsigned short* u = units;
    QM_FUZZ_CHECK(u[units.Length()] == 0);
    QM_FUZZ_CHECK(size < 2 || std::memcmp(u, data, size / 2 * 2) == 0);
    return 0;
}
