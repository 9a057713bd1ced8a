// DecodeFile on a file holding the fuzz bytes, under a name whose extension
// follows the input's size (the decoder may take the name as a hint). A
// result respects the size limit, and only the accepted kinds decode: PNG,
// JPEG, GIF, BMP and the icon formats, each known by its first bytes, so no
// other installed loader is reachable from page bytes.

#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzText.h"

#include "platform/image/ImageDecoder.h"

#include <cstring>
#include <string>

namespace {

bool StartsWith(const uint8_t* data, size_t size, const char* magic, size_t n)
{
    return size >= n && std::memcmp(data, magic, n) == 0;
}

bool AcceptedKind(const uint8_t* data, size_t size)
{
    return StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8) || StartsWith(data, size, "\xFF\xD8", 2)
        || StartsWith(data, size, "GIF8", 4) || StartsWith(data, size, "BM", 2)
        || StartsWith(data, size, "icns", 4) || StartsWith(data, size, "\0\0\1\0", 4);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 200000)
        return 0;
    static const char* const kNames[] = {"p.png", "p.jpg", "p.gif", "p.bmp", "p.ico", "p"};
    const std::string path = qmfuzz::WriteScratchFile(kNames[size % 6], data, size);
    if (path.empty())
        return 0;
    qm::cg::ImageRef img = qm::image::DecodeFile(path);
    if (img) {
        QM_FUZZ_CHECK(qm::image::IsAcceptedPictureSize(img->Width(), img->Height()));
        QM_FUZZ_CHECK(AcceptedKind(data, size));
    }
    qmfuzz::ScratchFolder::Empty();
    return 0;
}
