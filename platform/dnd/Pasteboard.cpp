#include "platform/dnd/Pasteboard.h"

#include "platform/events/Event.h"

namespace qm::dnd {

std::uint32_t PreferredTagForType(const std::string& type)
{
    static const struct
    {
        const char* type;
        std::uint32_t tag;
    } table[] = {
        {"public.utf16-plain-text", events::FourCC("utxt")},
        {"public.file-url", events::FourCC("furl")},
        {"com.apple.flat-rtfd", events::FourCC("rtfd")},
        {"public.tiff", events::FourCC("TIFF")},
    };
    for (const auto& entry : table)
        if (type == entry.type)
            return entry.tag;
    return 0;
}

void Pasteboard::Clear()
{
    m_items.clear();
    ++m_changes;
}

bool Pasteboard::PutItemFlavor(
    PasteboardItemId item, const std::string& type, const void* data, std::size_t size, std::uint32_t tag)
{
    if (type.empty() || (size > 0 && !data))
        return false;
    try {
        PasteboardItem* target = nullptr;
        for (PasteboardItem& it : m_items)
            if (it.id == item)
                target = &it;
        if (!target) {
            m_items.push_back(PasteboardItem{item, {}});
            target = &m_items.back();
        }
        Flavor* flavor = nullptr;
        for (Flavor& f : target->flavors)
            if (f.type == type)
                flavor = &f;
        if (!flavor) {
            target->flavors.push_back(Flavor{type, 0, {}});
            flavor = &target->flavors.back();
        }
        flavor->tag = tag ? tag : PreferredTagForType(type);
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        flavor->data.assign(bytes, bytes + size);
        ++m_changes;
        return true;
    } catch (...) {
        return false;
    }
}

const PasteboardItem* Pasteboard::ItemAt(std::size_t index) const
{
    if (index < 1 || index > m_items.size())
        return nullptr;
    return &m_items[index - 1];
}

const PasteboardItem* Pasteboard::FindItem(PasteboardItemId item) const
{
    for (const PasteboardItem& it : m_items)
        if (it.id == item)
            return &it;
    return nullptr;
}

const Flavor* Pasteboard::FindFlavor(PasteboardItemId item, const std::string& type) const
{
    const PasteboardItem* it = FindItem(item);
    if (!it)
        return nullptr;
    for (const Flavor& f : it->flavors)
        if (f.type == type)
            return &f;
    return nullptr;
}

const Flavor* Pasteboard::FindFlavorByTag(PasteboardItemId item, std::uint32_t tag) const
{
    const PasteboardItem* it = FindItem(item);
    if (!it || tag == 0)
        return nullptr;
    for (const Flavor& f : it->flavors)
        if (f.tag == tag)
            return &f;
    return nullptr;
}

PasteboardStore& PasteboardStore::Process()
{
    static PasteboardStore store;
    return store;
}

Pasteboard& PasteboardStore::Open(const std::string& name)
{
    auto& slot = m_boards[name];
    if (!slot)
        slot = std::make_unique<Pasteboard>(name);
    return *slot;
}

} // namespace qm::dnd
