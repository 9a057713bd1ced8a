// Clipboard and drag data from fuzz bytes: a clipboard and a drag session
// filled with fuzzed items and flavours, read back through
// GetClipboardString and GetDragData with every flavour kind and room size.
// Text must be exactly the flavour's bytes converted; caller buffers are
// allocated to their stated room, so a copy past it is caught.

#include "fuzz/FuzzText.h"

#include "base/shims/Pasteboard.h"
#include "base/text/SafeBuf.h"
#include "platform/dnd/DragSession.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kTypes[] = {"public.utf16-plain-text", "public.file-url", "com.apple.flat-rtfd",
    "public.tiff", "public.utf8-plain-text", "com.quillmark.markup"};
constexpr int kTypeCount = sizeof(kTypes) / sizeof(kTypes[0]);

const FlavorType kTags[] = {kFlavorEditorMarkup, kFlavorEditorTag, kFlavorUnicodeText, kFlavorFileURL,
    qm::events::FourCC("rtfd"), qm::events::FourCC("TIFF"), 0};
constexpr int kTagCount = sizeof(kTags) / sizeof(kTags[0]);

FlavorType ConsumeTag(FuzzedDataProvider& fdp)
{
    int i = fdp.ConsumeIntegralInRange<int>(0, kTagCount);
    return i < kTagCount ? kTags[i] : fdp.ConsumeIntegral<FlavorType>();
}

// The text the conversions promise for these bytes.
std::u16string Converted(const std::vector<std::uint8_t>& data, bool wide)
{
    std::u16string out;
    if (wide) {
        out.resize(data.size() / 2);
        if (!out.empty())
            std::memcpy(&out[0], data.data(), out.size() * 2);
    } else {
        out.assign(data.begin(), data.end());
    }
    return out;
}

bool Same(const CSafeBuf& text, const std::u16string& want)
{
    const unsigned short* p = text;
    return text.Length() == static_cast<int>(want.size())
        && (want.empty() || std::memcmp(p, want.data(), want.size() * 2) == 0);
}

void FillClipboard(FuzzedDataProvider& fdp, qm::dnd::Pasteboard& board)
{
    board.Clear();
    const int puts = fdp.ConsumeIntegralInRange<int>(0, 6);
    for (int i = 0; i < puts; ++i) {
        qm::dnd::PasteboardItemId item = fdp.ConsumeIntegralInRange<int>(1, 3);
        std::string type = fdp.ConsumeBool() ? kTypes[fdp.ConsumeIntegralInRange<int>(0, kTypeCount - 1)]
                                             : qmfuzz::ConsumeBytes(fdp, 12);
        FlavorType tag = ConsumeTag(fdp);
        std::vector<std::uint8_t> bytes
            = fdp.ConsumeBytes<std::uint8_t>(fdp.ConsumeIntegralInRange<int>(0, 64));
        board.PutItemFlavor(item, type, bytes.data(), bytes.size(), tag);
    }
}

void ReadClipboard(FuzzedDataProvider& fdp, const qm::dnd::Pasteboard& board)
{
    for (int k = 0; k < 3; ++k) {
        std::string type = fdp.ConsumeBool() ? kTypes[fdp.ConsumeIntegralInRange<int>(0, kTypeCount - 1)]
                                             : qmfuzz::ConsumeBytes(fdp, 12);
        const bool wide = fdp.ConsumeBool();
        CSafeBuf text("stale");
        const bool ok = GetClipboardString(type.c_str(), text, wide);
        QM_FUZZ_CHECK(ok == !text.IsEmpty());
        // Flavours other than the two looked up by tag are read by their type.
        const qm::dnd::PasteboardItem* first = board.ItemAt(1);
        if (type != "public.file-url" && type != "com.apple.flat-rtfd") {
            const qm::dnd::Flavor* flavor = first ? board.FindFlavor(first->id, type) : nullptr;
            QM_FUZZ_CHECK(Same(text, flavor ? Converted(flavor->data, wide) : std::u16string()));
        }
    }
    CSafeBuf none("stale");
    QM_FUZZ_CHECK(!GetClipboardString(nullptr, none, true) && none.IsEmpty());
}

void ReadDrag(FuzzedDataProvider& fdp, const qm::dnd::DragSession& drag, DragRef ref)
{
    for (int k = 0; k < 4; ++k) {
        const ItemReference item = fdp.ConsumeIntegralInRange<ItemReference>(0, 3);
        const FlavorType flavor = ConsumeTag(fdp);
        std::vector<std::uint8_t> data;
        const bool has = drag.GetFlavorData(item, flavor, data) && !data.empty();
        const bool wideText = flavor == kFlavorEditorMarkup || flavor == kFlavorUnicodeText;
        const bool withSize = fdp.ConsumeBool();
        if (wideText || flavor == kFlavorFileURL) {
            CSafeBuf text("stale");
            int size = -7;
            const bool ok = GetDragData(ref, item, flavor, &text, withSize ? &size : nullptr);
            const std::u16string want = has ? Converted(data, wideText) : std::u16string();
            QM_FUZZ_CHECK(ok == !want.empty());
            QM_FUZZ_CHECK(Same(text, want));
            if (ok && withSize)
                QM_FUZZ_CHECK(size == (wideText ? text.Length() : static_cast<int>(data.size())));
            continue;
        }
        // A caller buffer of exactly its room.
        const int room
            = withSize ? fdp.ConsumeIntegralInRange<int>(-2, 80) : static_cast<int>(kDragDataUnsizedBytes);
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[room > 0 ? room : 0]);
        int size = room;
        const bool ok = GetDragData(ref, item, flavor, buffer.get(), withSize ? &size : nullptr);
        QM_FUZZ_CHECK(!ok || has);
        if (ok) {
            const size_t copied
                = withSize ? static_cast<size_t>(size) : std::min(data.size(), kDragDataUnsizedBytes);
            QM_FUZZ_CHECK(copied <= static_cast<size_t>(room) && copied <= data.size());
            QM_FUZZ_CHECK(std::memcmp(buffer.get(), data.data(), copied) == 0);
        }
        QM_FUZZ_CHECK(!GetDragData(ref, item, flavor, nullptr, &size));
    }
    CSafeBuf text;
    QM_FUZZ_CHECK(!GetDragData(nullptr, 1, kFlavorUnicodeText, &text, nullptr) && text.IsEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    static qm::dnd::PasteboardStore store;
    qm::events::Services::Get().SetPasteboards(&store);
    FuzzedDataProvider fdp(data, size);

    qm::dnd::Pasteboard& board = store.Clipboard();
    FillClipboard(fdp, board);
    ReadClipboard(fdp, board);

    qm::dnd::DragSession drag;
    const int adds = fdp.ConsumeIntegralInRange<int>(0, 6);
    for (int i = 0; i < adds; ++i) {
        const qm::dnd::DragItemRef item = fdp.ConsumeIntegralInRange<qm::dnd::DragItemRef>(1, 3);
        const FlavorType flavor = ConsumeTag(fdp);
        std::vector<std::uint8_t> bytes
            = fdp.ConsumeBytes<std::uint8_t>(fdp.ConsumeIntegralInRange<int>(0, 64));
        drag.AddFlavor(item, flavor, bytes.data(), bytes.size());
    }
    ReadDrag(fdp, drag, &drag);

    // The block conversion on the rest, at an exact size.
    std::vector<unsigned char> rest = fdp.ConsumeRemainingBytes<unsigned char>();
    for (bool wide : {false, true}) {
        CSafeBuf text("stale");
        CopyDataFromCFData(rest, text, wide);
        QM_FUZZ_CHECK(Same(text, Converted(rest, wide)));
    }
    qm::events::Services::Get().SetPasteboards(nullptr);
    return 0;
}
