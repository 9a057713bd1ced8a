#include "base/shims/Pasteboard.h"

#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

void CopyDataFromCFData(const unsigned char* data, size_t length, CSafeBuf& text, bool wide)
{
    text.Empty();
    if (data == nullptr || length == 0)
        return;
    const size_t units = wide ? length / 2 : length;
    if (units == 0 || units >= static_cast<size_t>(INT_MAX))
        return;
    if (!text.PrepareBufferSize(static_cast<long>(units)))
        return;
    unsigned short* dst = text;
    if (wide) {
        std::memcpy(dst, data, units * 2);
    } else {
        for (size_t i = 0; i < units; ++i)
            dst[i] = data[i];
    }
    dst[units] = 0;
}

void CopyDataFromCFData(const std::vector<unsigned char>& data, CSafeBuf& text, bool wide)
{
    CopyDataFromCFData(data.empty() ? nullptr : data.data(), data.size(), text, wide);
}

bool GetClipboardString(const char* flavor, CSafeBuf& text, bool wide)
{
    text.Empty();
    if (flavor == nullptr)
        return false;
    try {
        qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
        const qm::dnd::PasteboardItem* item = board.ItemAt(1);
        if (item == nullptr)
            return false;
        const std::string type(flavor);
        const qm::dnd::Flavor* found = nullptr;
        if (type == "public.file-url")
            found = board.FindFlavorByTag(item->id, qm::events::FourCC("furl"));
        else if (type == "com.apple.flat-rtfd")
            found = board.FindFlavorByTag(item->id, qm::events::FourCC("rtfd"));
        if (found == nullptr)
            found = board.FindFlavor(item->id, type);
        if (found == nullptr)
            return false;
        CopyDataFromCFData(
            found->data.empty() ? nullptr : found->data.data(), found->data.size(), text, wide);
        return !text.IsEmpty();
    } catch (...) {
        text.Empty();
        return false;
    }
}

bool GetDragData(DragRef drag, ItemReference item, FlavorType flavor, void* out, int* size)
{
    const bool wideText = flavor == kFlavorEditorMarkup || flavor == kFlavorUnicodeText;
    const bool byteText = flavor == kFlavorFileURL;
    CSafeBuf* text = (wideText || byteText) ? static_cast<CSafeBuf*>(out) : nullptr;
    if (text != nullptr)
        text->Empty();
    if (drag == nullptr || out == nullptr)
        return false;
    std::vector<std::uint8_t> data;
    if (!drag->GetFlavorData(item, flavor, data) || data.empty())
        return false;
    if (text != nullptr) {
        CopyDataFromCFData(data.data(), data.size(), *text, wideText);
        if (text->IsEmpty())
            return false;
        if (size != nullptr)
            *size = wideText ? text->Length() : static_cast<int>(std::min(data.size(), size_t(INT_MAX)));
        return true;
    }
    if (size == nullptr) {
        // The editing engine reads the editor tag without a size: its room is
        // the tag's four bytes, and no more is ever written.
        std::memcpy(out, data.data(), std::min(data.size(), kDragDataUnsizedBytes));
        return true;
    }
    if (*size <= 0)
        return false;
    const size_t n = std::min(data.size(), static_cast<size_t>(*size));
    std::memcpy(out, data.data(), n);
    *size = static_cast<int>(n);
    return true;
}
