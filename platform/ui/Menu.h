#pragma once
// A menu record: an ordered list of items, each with its text and command,
// and optionally a submenu (the item's text is then the submenu's title).
// It is what the editor builds before a pop-up menu is shown (the UI driver
// sees the entries) and what menu utilities search and edit by item text.
// Copying a menu copies its submenus.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qm::ui {

class Menu;

struct MenuItem
{
    std::u16string text; // UTF-16, as the editor writes its texts
    std::uint32_t command = 0;
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    std::unique_ptr<Menu> submenu; // null: a plain entry

    MenuItem();
    ~MenuItem();
    MenuItem(const MenuItem& other);
    MenuItem& operator=(const MenuItem& other);
    MenuItem(MenuItem&& other) noexcept;
    MenuItem& operator=(MenuItem&& other) noexcept;
};

class Menu
{
public:
    // The menu's identifier (a submenu is found by it) and title.
    std::uint32_t Id() const { return m_id; }
    void SetId(std::uint32_t id) { m_id = id; }
    const std::u16string& Title() const { return m_title; }
    void SetTitle(std::u16string title) { m_title = std::move(title); }

    std::size_t Count() const { return m_items.size(); }
    const MenuItem& Item(std::size_t index) const { return m_items.at(index); }
    MenuItem& Item(std::size_t index) { return m_items.at(index); }
    const std::vector<MenuItem>& Items() const { return m_items; }

    void Append(MenuItem item) { m_items.push_back(std::move(item)); }
    void AppendText(const std::u16string& text, std::uint32_t command = 0);
    // Index of the first item whose text equals text exactly; -1 when none.
    int Find(const std::u16string& text) const;
    // False when index is outside the menu.
    bool Remove(std::size_t index);
    void Clear() { m_items.clear(); }

private:
    std::uint32_t m_id = 0;
    std::u16string m_title;
    std::vector<MenuItem> m_items;
};

// Shows the menu as a pop-up at a point (global coordinates) through the
// host's UI driver. Answers the command of the entry chosen, 0 when the menu
// was dismissed or the answer names no enabled entry of the menu.
std::uint32_t PopUpMenuSelect(const Menu& menu, int v, int h);

} // namespace qm::ui
