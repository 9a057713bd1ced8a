// The icon-format (".icns") reader on the fuzz bytes, directly and through
// its two users on a file holding them: the picture decoder (the largest PNG
// member) and the bundle's icon family check. A family is answered only for a complete one whose bytes it keeps;
// a picture respects the size limit.

#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzText.h"

#include "base/files/BundleResources.h"
#include "platform/image/IconFamily.h"
#include "platform/image/ImageDecoder.h"

#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 200000)
        return 0;
    const std::string path = qmfuzz::WriteScratchFile("icon.icns", data, size);
    if (path.empty())
        return 0;
    std::vector<qm::image::IconMember> members;
    if (qm::image::ParseIconFamily(data, size, &members)) {
        for (const qm::image::IconMember& m : members)
            QM_FUZZ_CHECK(m.data >= data && m.data + m.size <= data + size);
    }
    qm::cg::ImageRef img = qm::image::DecodeFile(path);
    if (img)
        QM_FUZZ_CHECK(qm::image::IsAcceptedPictureSize(img->Width(), img->Height()));

    std::vector<unsigned short> wpath = qmfuzz::Widen(path);
    IconRef icon = LoadIconFromIcnsFile(wpath.data());
    if (icon) {
        QM_FUZZ_CHECK(icon->data.size() == size && std::memcmp(icon->data.data(), data, size) == 0);
        QM_FUZZ_CHECK(size >= 16 && std::memcmp(data, "icns", 4) == 0);
        const size_t declared
            = (size_t(data[4]) << 24) | (size_t(data[5]) << 16) | (size_t(data[6]) << 8) | data[7];
        QM_FUZZ_CHECK(declared == size);
    }
    ReleaseIconRef(icon);
    return 0;
}
