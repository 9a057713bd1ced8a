// The context-menu entries the page adds: a chain in the order added, whose
// command ids count up from 38000 (again after the chain is cleared). The
// engine puts them at the top of its context menu and raises
// "qmContextMenuClicked" with the name of the one chosen.

#include "plugin/MorvaXEditorCtrl.h"

#include <new>

namespace {

// The text cut to room units, one less when the cut would split a
// surrogate pair.
void KeepRoom(CSafeBuf& text, const unsigned short* from, int room)
{
    text = from;
    if (text.Length() <= room)
        return;
    int keep = room;
    const unsigned short last = text.GetAt(keep - 1);
    if (last >= 0xD800 && last <= 0xDBFF)
        --keep;
    text.CutAt(keep);
}

} // namespace

void CMorvaXEditorCtrl::AddToContextMenu(
    const unsigned short* name, const unsigned short* label, const unsigned short* third)
{
    if (!name || !*name || !label)
        return;
    auto* entry = new (std::nothrow) CONTEXT_MENU_ENTRY();
    if (!entry)
        return;
    KeepRoom(entry->name, name, kMenuTextRoom);
    KeepRoom(entry->label, label, kMenuTextRoom);
    KeepRoom(entry->third, third, kMenuTextRoom);
    CONTEXT_MENU_ENTRY* last = m_customMenu;
    while (last && last->next)
        last = last->next;
    entry->id = last ? last->id + 1 : kFirstMenuCommand;
    if (last)
        last->next = entry;
    else
        m_customMenu = entry;
}

void CMorvaXEditorCtrl::ClearContextMenu() { ReleaseCustomMenu(); }

void CMorvaXEditorCtrl::ReleaseCustomMenu()
{
    while (m_customMenu) {
        CONTEXT_MENU_ENTRY* next = m_customMenu->next;
        delete m_customMenu;
        m_customMenu = next;
    }
}
