// CImage loading a picture from fuzz bytes the ways a page can give one:
// from memory (through a temporary file, or decoded in place when there is
// no temporary folder) and from a URL through a fake network. The picture is
// then drawn, plain and grey, into a small bitmap at rectangles that cover,
// miss, flip and stretch it. The way and the rectangles follow the input's
// size, so seeds are plain picture files.

#include "fuzz/FakeNetwork.h"
#include "fuzz/FuzzFile.h"
#include "fuzz/FuzzText.h"

#include "base/files/UserFolders.h"
#include "base/geometry/GeometryTypes.h"
#include "platform/cg/Context.h"
#include "style/Image.h"

#include <string>
#include <vector>

namespace {

const RECT kRects[] = {{0, 0, 32, 32}, {-5, -7, 40, 41}, {10, 10, 10, 20}, {3, 30, 9, 2}, {0, 0, 1, 600},
    {-30000, -30000, 30000, 30000}, {31, 31, 33, 33}};
constexpr size_t kRectCount = sizeof(kRects) / sizeof(kRects[0]);

const unsigned short kUrl[]
    = {'h', 't', 't', 'p', ':', '/', '/', 'e', 'x', '.', 't', 'e', 's', 't', '/', 'p', 0};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 200000)
        return 0;
    static const std::vector<unsigned short> scratch = qmfuzz::Widen(qmfuzz::ScratchFolder::Path());
    static qmfuzz::FakeNetwork net;
    qmfuzz::ScopedNetwork installed(net);

    CImage image;
    const char* bytes = reinterpret_cast<const char*>(data);
    bool loaded = false;
    switch (size % 3) {
    case 0:
        SetUserTempFolder(scratch.data());
        loaded = image.LoadPictureMemory(bytes, static_cast<int>(size));
        break;
    case 1:
        SetUserTempFolder(nullptr);
        loaded = image.LoadPictureMemory(bytes, static_cast<int>(size));
        break;
    default:
        SetUserTempFolder(scratch.data());
        net.ScriptOne(200, std::string(bytes, size));
        loaded = image.LoadImage(kUrl);
        break;
    }
    QM_FUZZ_CHECK(loaded == (image.GetImage() != nullptr));
    if (loaded)
        QM_FUZZ_CHECK(qm::image::IsAcceptedPictureSize(image.GetWidth(), image.GetHeight()));
    else
        QM_FUZZ_CHECK(image.GetWidth() == 0 && image.GetHeight() == 0);

    static std::vector<unsigned char> pixels(32 * 32 * 4);
    std::unique_ptr<qm::cg::Context> context = qm::cg::Context::CreateBitmap(pixels.data(), 32, 32, 32 * 4);
    QM_FUZZ_CHECK(context != nullptr);
    const RECT& rect = kRects[(size / 3) % kRectCount];
    const int viewHeight = (size / 3 / kRectCount) % 2 ? 32 : 0;
    QM_FUZZ_CHECK(image.CopyImage(&rect, nullptr, context.get(), viewHeight, CPoint(1, 2)) == loaded);
    QM_FUZZ_CHECK(image.CopyImage(nullptr, nullptr, context.get(), viewHeight, CPoint(-3, 0)) == loaded);
    QM_FUZZ_CHECK(image.CopyImageGray(&rect, &rect, context.get(), viewHeight, CPoint(0, 0)) == loaded);
    QM_FUZZ_CHECK(!image.CopyImage(&rect, nullptr, nullptr, 0, CPoint()));
    qmfuzz::ScratchFolder::Empty();
    return 0;
}
