#include "base/app/MenuUtils.h"

#include "platform/ui/Menu.h"

#include <string>

bool RemoveMenuItem(qm::ui::Menu* menu, const unsigned short* text)
{
    if (menu == nullptr || text == nullptr)
        return false;
    std::u16string wanted;
    for (const unsigned short* p = text; *p != 0; ++p)
        wanted += static_cast<char16_t>(*p);
    const int index = menu->Find(wanted);
    return index >= 0 && menu->Remove(static_cast<std::size_t>(index));
}

bool RemoveMenuItem(qm::ui::Menu* menu, const char* text)
{
    if (menu == nullptr || text == nullptr)
        return false;
    std::u16string wanted;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p)
        wanted += static_cast<char16_t>(*p);
    const int index = menu->Find(wanted);
    return index >= 0 && menu->Remove(static_cast<std::size_t>(index));
}
