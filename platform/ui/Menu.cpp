#include "platform/ui/Menu.h"

namespace qm::ui {

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

} // namespace qm::ui
