// Picture decoding of fuzzed bytes: the format and size read from the header
// govern the decoder, so a picture comes back only for a recognised header,
// at the size it declared and within the limit. The icon-format parser's
// members always fill the family exactly.
//
// Pictures whose header declares more than kDecodedPixels (but no more than
// the decoder's limit) are not decoded here: converting one at the limit takes
// a quarter of a minute in this unoptimised, instrumented build, which would
// stall the run. Their headers are still read; sizes over the limit still go
// to the decoder, which must refuse them at once.

#include "fuzz/FuzzText.h"

#include "platform/image/IconFamily.h"
#include "platform/image/ImageDecoder.h"
#include "platform/image/PictureHeader.h"

#include <algorithm>
#include <vector>

namespace {

constexpr long long kDecodedPixels = 1024 * 1024;

long long Pixels(const qm::image::PictureHeader& header)
{
    return qm::image::IsAcceptedPictureSize(header.width, header.height) ? header.width * header.height : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 200000)
        return 0;
    std::vector<qm::image::IconMember> members;
    long long largest = 0;
    if (qm::image::ParseIconFamily(data, size, &members)) {
        size_t total = 8;
        for (const qm::image::IconMember& m : members) {
            QM_FUZZ_CHECK(m.data == data + total + 8 && m.data + m.size <= data + size);
            total += 8 + m.size;
            largest = std::max(largest, Pixels(qm::image::ReadPictureHeader(m.data, m.size)));
        }
        QM_FUZZ_CHECK(!members.empty() && total == size);
    }

    const qm::image::PictureHeader header = qm::image::ReadPictureHeader(data, size);
    if (std::max(largest, Pixels(header)) > kDecodedPixels)
        return 0;
    qm::cg::ImageRef img = qm::image::DecodeBytes(data, size);
    if (!img)
        return 0;
    QM_FUZZ_CHECK(qm::image::IsAcceptedPictureSize(img->Width(), img->Height()));
    QM_FUZZ_CHECK(header.format != qm::image::PictureFormat::None);
    if (header.format != qm::image::PictureFormat::IconFamily)
        QM_FUZZ_CHECK(img->Width() == header.width && img->Height() == header.height);
    return 0;
}
