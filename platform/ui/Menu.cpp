#include "platform/ui/Menu.h"

#include "platform/common/Utf16.h"
#include "platform/events/Services.h"

namespace qm::ui {

MenuItem::MenuItem() = default;
MenuItem::~MenuItem() = default;
MenuItem::MenuItem(MenuItem&& other) noexcept = default;
MenuItem& MenuItem::operator=(MenuItem&& other) noexcept = default;

MenuItem::MenuItem(const MenuItem& other)
    : text(other.text),
      command(other.command),
      enabled(other.enabled),
      checked(other.checked),
      separator(other.separator),
      submenu(other.submenu ? new Menu(*other.submenu) : nullptr)
{ }

MenuItem& MenuItem::operator=(const MenuItem& other)
{
    if (this != &other) {
        MenuItem copy(other);
        *this = std::move(copy);
    }
    return *this;
}

void Menu::AppendText(const std::u16string& text, std::uint32_t command)
{
    MenuItem item;
    item.text = text;
    item.command = command;
    m_items.push_back(std::move(item));
}

int Menu::Find(const std::u16string& text) const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].text == text)
            return static_cast<int>(i);
    return -1;
}

bool Menu::Remove(std::size_t index)
{
    if (index >= m_items.size())
        return false;
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

namespace {

std::vector<events::MenuEntry> Entries(const Menu& menu)
{
    std::vector<events::MenuEntry> out;
    for (const MenuItem& item : menu.Items()) {
        events::MenuEntry e;
        e.command = item.command;
        e.text = utf8::FromUtf16(item.text);
        e.enabled = item.enabled;
        e.checked = item.checked;
        e.separator = item.separator;
        if (item.submenu)
            e.submenu = Entries(*item.submenu);
        out.push_back(std::move(e));
    }
    return out;
}

// Whether an enabled entry of the menu (or of its submenus) has the command.
bool Offers(const Menu& menu, std::uint32_t command)
{
    for (const MenuItem& item : menu.Items()) {
        if (!item.enabled || item.separator)
            continue;
        if (item.submenu ? Offers(*item.submenu, command) : item.command == command)
            return true;
    }
    return false;
}

} // namespace

std::uint32_t PopUpMenuSelect(const Menu& menu, int v, int h)
{
    try {
        events::MenuRequest request;
        request.entries = Entries(menu);
        request.v = v;
        request.h = h;
        const std::uint32_t chosen = events::Services::Get().Ui().PopUpMenu(request);
        return chosen != 0 && Offers(menu, chosen) ? chosen : 0;
    } catch (...) {
        return 0;
    }
}

} // namespace qm::ui
