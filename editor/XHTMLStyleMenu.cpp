// The style items as a pop-up menu under the style box: items without a
// group on the menu itself, each run of items under one group title in a
// submenu of its own, marked items checked. The chosen item is applied as
// if it had been chosen in the drop-list.

#include "editor/XHTML.h"

#include "editor/StyleBarItem.h"
#include "element/services/ControlServices.h"

#include "platform/ui/Menu.h"

#include <memory>
#include <string>

namespace {

// The style box's button kind on the toolbar.
constexpr int kStyleBoxKind = 40;

std::u16string Text(const unsigned short* text)
{
    std::u16string out;
    for (; text && *text; ++text)
        out.push_back(static_cast<char16_t>(*text));
    return out;
}

} // namespace

void CXHTML::PrepareStyleMenu(qm::ui::Menu* menu)
{
    if (!menu)
        return;
    qm::ui::Menu* target = menu;
    std::u16string group;
    unsigned int submenus = 0;
    for (const STYLE_BAR_ITEM* item = m_styleItems; item; item = item->next) {
        const std::u16string title = Text(item->group);
        if (title != group) {
            group = title;
            if (title.empty()) {
                target = menu;
            } else {
                qm::ui::MenuItem heading;
                heading.text = title;
                heading.submenu = std::make_unique<qm::ui::Menu>();
                heading.submenu->SetId(kFirstStyleSubmenuId + ++submenus);
                heading.submenu->SetTitle(title);
                target = heading.submenu.get();
                menu->Append(std::move(heading));
            }
        }
        qm::ui::MenuItem entry;
        entry.text = Text(item->label);
        entry.command = item->commandId;
        entry.checked = (item->flags & kStyleItemMarked) != 0;
        target->Append(std::move(entry));
    }
}

void CXHTML::DisposeStyleMenu(qm::ui::Menu* menu) { delete menu; }

void CXHTML::PopupStyleMenu()
{
    ToolCheckButton(kStyleBoxKind, 0, true, true);
    auto* menu = new qm::ui::Menu;
    PrepareStyleMenu(menu);
    CRect box;
    if (m_control) {
        m_control->GetToolButtonPos(kStyleBoxKind, &box);
        m_control->SetPopupShowing(true);
    }
    const std::uint32_t chosen = qm::ui::PopUpMenuSelect(*menu, int(box.bottom) + 8, int(box.left) - 4);
    if (m_control)
        m_control->SetPopupShowing(false);
    ToolCheckButton(kStyleBoxKind, 0, false, true);
    DisposeStyleMenu(menu);
    if (chosen != 0)
        StyleItemChanged(chosen);
}
