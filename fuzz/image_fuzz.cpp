// Picture decoding of fuzzed bytes: any result must respect the size limit
// and carry pixels for its whole area.

#include "fuzz/FuzzText.h"

#include "platform/image/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 200000)
        return 0;
    qm::cg::ImageRef img = qm::image::DecodeBytes(data, size);
    if (img)
        QM_FUZZ_CHECK(qm::image::IsAcceptedPictureSize(img->Width(), img->Height()));
    return 0;
}
