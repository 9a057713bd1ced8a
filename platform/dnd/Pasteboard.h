#pragma once
// Named pasteboards. A pasteboard holds items in order; each item has an
// identifier chosen by whoever puts it and one or more flavours. A flavour is
// a type name (such as "public.utf16-plain-text"), the type's preferred
// four-character tag when it has one (such as 'utxt'), and its bytes.
//
// Pasteboards live in a store, one per name, created on first use; the
// process store is the one that Services hands out.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qm::dnd {

// The preferred four-character tag of a type name, 0 when it has none.
std::uint32_t PreferredTagForType(const std::string& type);

using PasteboardItemId = std::uint64_t;

struct Flavor
{
    std::string type;
    std::uint32_t tag = 0;
    std::vector<std::uint8_t> data;
};

struct PasteboardItem
{
    PasteboardItemId id = 0;
    std::vector<Flavor> flavors;
};

class Pasteboard
{
public:
    explicit Pasteboard(std::string name) : m_name(std::move(name)) { }

    const std::string& Name() const { return m_name; }

    // Removes every item.
    void Clear();
    // Counts changes: each Clear and each put moves it on.
    std::uint64_t ChangeCount() const { return m_changes; }

    // Adds the flavour to the item (creating the item after the others when it
    // is new) or replaces that flavour's data. A tag of 0 takes the type's
    // preferred tag. False for an empty type name.
    bool PutItemFlavor(PasteboardItemId item, const std::string& type, const void* data, std::size_t size,
        std::uint32_t tag = 0);

    std::size_t ItemCount() const { return m_items.size(); }
    // The item at a 1-based index, null when out of range.
    const PasteboardItem* ItemAt(std::size_t index) const;
    const PasteboardItem* FindItem(PasteboardItemId item) const;

    // The item's flavour of that type, or the first whose tag is that tag; null when none.
    const Flavor* FindFlavor(PasteboardItemId item, const std::string& type) const;
    const Flavor* FindFlavorByTag(PasteboardItemId item, std::uint32_t tag) const;

private:
    std::string m_name;
    std::vector<PasteboardItem> m_items;
    std::uint64_t m_changes = 0;
};

class PasteboardStore
{
public:
    static PasteboardStore& Process();
    // The name of the general clipboard.
    static const char* ClipboardName() { return "qm.pasteboard.clipboard"; }

    // The pasteboard of that name, created empty on first use.
    Pasteboard& Open(const std::string& name);
    Pasteboard& Clipboard() { return Open(ClipboardName()); }
    // Forgets every pasteboard.
    void Clear() { m_boards.clear(); }

private:
    std::map<std::string, std::unique_ptr<Pasteboard>> m_boards;
};

} // namespace qm::dnd
