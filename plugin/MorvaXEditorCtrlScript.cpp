// The control's script methods: page script calls them on the scriptable
// object (plugin/ScriptObject.h) by name, without regard to ASCII case.
// Arguments that are strings arrive as texts; any other argument is an empty
// text. A method called with fewer arguments than it needs does nothing, and
// every method answers true; only an unknown name answers false.

#include "plugin/MorvaXEditorCtrl.h"

#include "plugin/NPBrowser.h"
#include "plugin/NPVariants.h"

namespace {

enum Method
{
    mFix,
    mCurrentStyles,
    mInsertText,
    mInsertXML,
    mApplyStyleXML,
    mApplyStyleID,
    mCallToolbarButton,
    mToString,
    mSetAttribute,
    mRemoveAttribute,
    mAddToContextMenu,
    mClearContextMenu,
    mClearCache,
    kMethodCount
};

const char* const kMethodNames[kMethodCount] = {"Fix", "CurrentStyles", "InsertText", "InsertXML",
    "ApplyStyleXML", "ApplyStyleID", "CallToolbarButton", "toString", "SetAttribute", "RemoveAttribute",
    "AddToContextMenu", "ClearContextMenu", "ClearCache"};

// The text of argument i: a string's text, empty for any other value.
CSafeBuf ArgumentText(const NPVariant* args, std::uint32_t count, std::uint32_t i)
{
    CSafeBuf text;
    if (args && i < count && args[i].type == NPVariantType_String)
        GetStringFromNPString(args[i].value.stringValue, text);
    return text;
}

} // namespace

int CMorvaXEditorCtrl::MatchScriptName(const CSafeBuf& name, const char* const* names, int count)
{
    if (name.IsEmpty())
        return -1;
    for (int i = 0; i < count; ++i) {
        if (name.CompareNoCase(names[i]) == 0)
            return i;
    }
    return -1;
}

bool CMorvaXEditorCtrl::Mozilla_HasMethod(NPIdentifier name)
{
    CSafeBuf text;
    GetStringFromName(name, text);
    return MatchScriptName(text, kMethodNames, kMethodCount) >= 0;
}

bool CMorvaXEditorCtrl::Mozilla_Invoke(
    NPIdentifier name, const NPVariant* args, std::uint32_t count, NPVariant* result)
{
    CSafeBuf methodName;
    GetStringFromName(name, methodName);
    const int method = MatchScriptName(methodName, kMethodNames, kMethodCount);
    if (method < 0)
        return false;
    NPVariant unused;
    if (!result)
        result = &unused;
    qm::np::SetVoid(*result);
    const CSafeBuf a = ArgumentText(args, count, 0);
    // A method may make the control call a page function, which may destroy
    // the instance: nothing of the control is used after the call.
    switch (method) {
    case mFix: SetStringToNPVariant(Fix(a), result, true); break;
    case mCurrentStyles: SetStringToNPVariant(CurrentStyles(), result, true); break;
    case mInsertText: InsertText(a); break;
    case mInsertXML: InsertXML(a); break;
    case mApplyStyleXML: ApplyStyleXML(a); break;
    case mApplyStyleID: ApplyStyleID(a); break;
    case mCallToolbarButton: CallToolbarButton(a); break;
    case mToString: SetStringToNPVariant(GetValue(), result, true); break;
    case mSetAttribute:
        if (count >= 3)
            SetAttribute(a, ArgumentText(args, count, 1), ArgumentText(args, count, 2));
        break;
    case mRemoveAttribute:
        if (count >= 2)
            RemoveAttribute(a, ArgumentText(args, count, 1));
        break;
    case mAddToContextMenu:
        if (count >= 3)
            AddToContextMenu(a, ArgumentText(args, count, 1), ArgumentText(args, count, 2));
        break;
    case mClearContextMenu: ClearContextMenu(); break;
    case mClearCache: ClearCache(); break;
    default: break;
    }
    // A caller that takes no result still gets its string freed.
    if (result == &unused && browser && browser->releasevariantvalue)
        browser->releasevariantvalue(&unused);
    return true;
}
