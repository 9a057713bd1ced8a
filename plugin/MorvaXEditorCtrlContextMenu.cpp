// What the context menu asks of the control: whether a toolbar button of
// some id exists (the menu's Help entry runs the "help" button), and the
// toolbar's buttons as entries of the menu's "Buttons" submenu.

#include "plugin/MorvaXEditorCtrl.h"

#include "platform/ui/Menu.h"

bool CMorvaXEditorCtrl::HasToolbarButtonById(const char* name)
{
    return FindToolbarButtonFromID(name) != nullptr;
}

bool CMorvaXEditorCtrl::FillToolbarButtonsMenu(qm::ui::Menu& menu)
{
    if (!ShowToolbar)
        return false;
    for (void* pos = m_toolBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<ToolBarStruct*>(m_toolBars.GetNext(pos));
        if (bar->barKind != 0)
            continue;
        for (const ButtonInfo* b = bar->buttons; b; b = b->next) {
            if (b->kind == kButtonKindGap)
                continue;
            qm::ui::MenuItem item;
            for (const unsigned short* c = b->label; *c; ++c)
                item.text += static_cast<char16_t>(*c);
            item.command = b->EditorCommandID;
            item.checked = (b->state & kButtonChecked) != 0;
            item.enabled = (b->state & kButtonEnabled) != 0 && (b->state & kButtonGrey) == 0;
            menu.Append(std::move(item));
        }
    }
    return true;
}
