#pragma once
// A menu record: an ordered list of items, each with its text and command.
// It is what the editor builds before a pop-up menu is shown (the UI driver
// sees the entries) and what menu utilities search and edit by item text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qm::ui {

struct MenuItem
{
    std::u16string text; // UTF-16, as the editor writes its texts
    std::uint32_t command = 0;
    bool enabled = true;
    bool checked = false;
    bool separator = false;
};

class Menu
{
public:
    std::size_t Count() const { return m_items.size(); }
    const MenuItem& Item(std::size_t index) const { return m_items.at(index); }
    const std::vector<MenuItem>& Items() const { return m_items; }

    void Append(MenuItem item) { m_items.push_back(std::move(item)); }
    void AppendText(const std::u16string& text, std::uint32_t command = 0);
    // Index of the first item whose text equals text exactly; -1 when none.
    int Find(const std::u16string& text) const;
    // False when index is outside the menu.
    bool Remove(std::size_t index);
    void Clear() { m_items.clear(); }

private:
    std::vector<MenuItem> m_items;
};

} // namespace qm::ui
