#include "host/DesktopDrag.h"

#include "platform/common/Utf16.h"

#include <cstring>

namespace qm::host {

DesktopDragData DragDataOf(const dnd::DragSession& drag)
{
    DesktopDragData out;
    for (std::size_t i = 1; i <= drag.CountItems(); ++i) {
        dnd::DragItemRef item = 0;
        if (!drag.GetItemReference(i, item))
            continue;
        std::vector<std::uint8_t> bytes;
        if (out.text.empty() && drag.GetFlavorData(item, kDragTextFlavor, bytes)) {
            std::u16string units(bytes.size() / sizeof(char16_t), u'\0');
            if (!units.empty())
                std::memcpy(&units[0], bytes.data(), units.size() * sizeof(char16_t));
            // The text ends at a terminating zero, when it carries one.
            const std::size_t end = units.find(u'\0');
            if (end != std::u16string::npos)
                units.resize(end);
            out.text = utf8::FromUtf16(units);
        }
        if (drag.GetFlavorData(item, kDragFileFlavor, bytes) && !bytes.empty())
            out.uris.emplace_back(bytes.begin(), bytes.end());
    }
    return out;
}

void PutDragData(const DesktopDragData& data, dnd::DragSession& drag)
{
    dnd::DragItemRef item = 1;
    for (const std::string& uri : data.uris) {
        if (uri.empty())
            continue;
        drag.AddFlavor(item++, kDragFileFlavor, uri.data(), uri.size());
    }
    if (item == 1 && !data.text.empty()) {
        const std::u16string units = utf8::ToUtf16(data.text);
        drag.AddFlavor(1, kDragTextFlavor, units.data(), units.size() * sizeof(char16_t));
    }
}

} // namespace qm::host
