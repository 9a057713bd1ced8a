// Script events: the control calls the functions the page defined on its
// window object, `id` first, each argument a UTF-8 string from the
// browser's memory, released through the browser after the call.

#include "plugin/MorvaXEditorCtrl.h"

#include "plugin/NPBrowser.h"
#include "plugin/NPVariants.h"

const char* const kScriptEventNames[kScriptEventCount]
    = {"qmButtonClicked", "qmTagListChanged", "qmContentChanged", "qmFocusSet", "qmFocusLost",
        "qmModeChanged", "qmContextMenuClicked", "qmContextMenuActivated"};

namespace {

const unsigned short* ViewName(int mode, CSafeBuf& name)
{
    static const char* const kNames[] = {"wysiwyg", "source", "preview", "screen-reader"};
    name.Empty();
    if (mode >= 0 && mode < 4)
        name = kNames[mode];
    return name;
}

} // namespace

bool CMorvaXEditorCtrl::FireEvent(
    ScriptEvent event, const unsigned short* first, const unsigned short* second)
{
    if (!m_eventFlags[event])
        return false;
    if (!m_pNPInstance || !m_pWindowObject || !browser || !browser->invoke || !browser->getstringidentifier
        || !browser->releasevariantvalue)
        return false;
    NPVariant result;
    qm::np::SetVoid(result);
    NPVariant args[3];
    std::uint32_t count = 1;
    for (NPVariant& a : args)
        qm::np::SetVoid(a);
    SetStringToNPVariant(id, -1, &args[0]);
    if (first)
        SetStringToNPVariant(first, -1, &args[count++]);
    if (second)
        SetStringToNPVariant(second, -1, &args[count++]);
    NPIdentifier name = browser->getstringidentifier(kScriptEventNames[event]);
    // The page's function may destroy the instance, and this control with
    // it: nothing of the control is used once it has been called.
    if (name)
        browser->invoke(m_pNPInstance, m_pWindowObject, name, args, count, &result);
    for (std::uint32_t i = 0; i < count; ++i)
        browser->releasevariantvalue(&args[i]);
    browser->releasevariantvalue(&result);
    return true;
}

bool CMorvaXEditorCtrl::FireBrowserContentChanged() { return FireEvent(kEventContentChanged); }

bool CMorvaXEditorCtrl::FireBrowserTagListChange() { return FireEvent(kEventTagListChanged); }

bool CMorvaXEditorCtrl::FireBrowserFocusSet() { return FireEvent(kEventFocusSet); }

bool CMorvaXEditorCtrl::FireBrowserFocusLost() { return FireEvent(kEventFocusLost); }

bool CMorvaXEditorCtrl::FireBrowserContextMenuActivated() { return FireEvent(kEventContextMenuActivated); }

bool CMorvaXEditorCtrl::FireBrowserModeChange(const unsigned short* oldName, const unsigned short* newName)
{
    const unsigned short empty = 0;
    return FireEvent(kEventModeChanged, oldName ? oldName : &empty, newName ? newName : &empty);
}

bool CMorvaXEditorCtrl::FireBrowserButtonClick(const unsigned short* name, const unsigned short* state)
{
    const unsigned short empty = 0;
    return FireEvent(kEventButtonClicked, name ? name : &empty, state ? state : &empty);
}

bool CMorvaXEditorCtrl::FireBrowserContextMenuClicked(const unsigned short* text)
{
    const unsigned short empty = 0;
    return FireEvent(kEventContextMenuClicked, text ? text : &empty);
}

void CMorvaXEditorCtrl::GoFireContentChanged() { FireBrowserContentChanged(); }

void CMorvaXEditorCtrl::DoFireStyleChange() { FireBrowserTagListChange(); }

void CMorvaXEditorCtrl::GoFireContextMenuActivated() { FireBrowserContextMenuActivated(); }

void CMorvaXEditorCtrl::GoFireModeChange(int oldMode, int newMode)
{
    CSafeBuf oldName, newName;
    FireBrowserModeChange(ViewName(oldMode, oldName), ViewName(newMode, newName));
}

void CMorvaXEditorCtrl::GoFireContextMenuClicked(const unsigned short* text)
{
    FireBrowserContextMenuClicked(text);
}

bool CMorvaXEditorCtrl::GoFireSOAPCall(const unsigned short*, CSafeBuf&, CSafeBuf&) { return false; }
