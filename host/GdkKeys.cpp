#include "host/GdkKeys.h"

#include "host/UsKeys.h"

#include "platform/events/InputState.h"
#include "platform/input/KeyLayout.h"

#include <gdk/gdk.h>

namespace qm::host {

namespace {

struct NamedKey
{
    unsigned keyval;
    std::uint8_t code;
};

// Keys that give no printable character, by symbol. The first entry of a
// code is the one played for it.
constexpr NamedKey kNamedKeys[] = {{GDK_KEY_Return, input::kVK_Return},
    {GDK_KEY_ISO_Enter, input::kVK_Return}, {GDK_KEY_KP_Enter, input::kVK_ANSI_KeypadEnter},
    {GDK_KEY_Tab, input::kVK_Tab}, {GDK_KEY_ISO_Left_Tab, input::kVK_Tab}, {GDK_KEY_KP_Tab, input::kVK_Tab},
    {GDK_KEY_BackSpace, input::kVK_Delete}, {GDK_KEY_Escape, input::kVK_Escape},
    {GDK_KEY_Delete, input::kVK_ForwardDelete}, {GDK_KEY_KP_Delete, input::kVK_ForwardDelete},
    {GDK_KEY_Home, input::kVK_Home}, {GDK_KEY_KP_Home, input::kVK_Home}, {GDK_KEY_End, input::kVK_End},
    {GDK_KEY_KP_End, input::kVK_End}, {GDK_KEY_Page_Up, input::kVK_PageUp},
    {GDK_KEY_KP_Page_Up, input::kVK_PageUp}, {GDK_KEY_Page_Down, input::kVK_PageDown},
    {GDK_KEY_KP_Page_Down, input::kVK_PageDown}, {GDK_KEY_Left, input::kVK_LeftArrow},
    {GDK_KEY_KP_Left, input::kVK_LeftArrow}, {GDK_KEY_Right, input::kVK_RightArrow},
    {GDK_KEY_KP_Right, input::kVK_RightArrow}, {GDK_KEY_Up, input::kVK_UpArrow},
    {GDK_KEY_KP_Up, input::kVK_UpArrow}, {GDK_KEY_Down, input::kVK_DownArrow},
    {GDK_KEY_KP_Down, input::kVK_DownArrow}, {GDK_KEY_Help, input::kVK_Help},
    {GDK_KEY_Insert, input::kVK_Help}, {GDK_KEY_F1, input::kVK_F1}, {GDK_KEY_F2, 0x78}, {GDK_KEY_F3, 0x63},
    {GDK_KEY_F4, 0x76}, {GDK_KEY_F5, 0x60}, {GDK_KEY_F6, 0x61}, {GDK_KEY_F7, 0x62}, {GDK_KEY_F8, 0x64},
    {GDK_KEY_F9, 0x65}, {GDK_KEY_F10, 0x6D}, {GDK_KEY_F11, 0x67}, {GDK_KEY_F12, 0x6F}};

// Desktop shortcuts that the US layout's Control column cannot tell apart
// from another key (Control+Shift+Z gives the 26 of Control+Z): the window
// hands them over as the Command shortcuts they stand for on the
// original platform, so that the desktop's Redo redoes.
struct CommandShortcut
{
    std::uint8_t code;
    std::uint16_t modifiers; // exactly these, Caps Lock aside
};
constexpr CommandShortcut kCommandShortcuts[] = {
    {input::kVK_ANSI_Z, events::kModControl | events::kModShift}, // Redo
};

} // namespace

std::uint16_t MapGdkModifiers(unsigned state)
{
    std::uint16_t m = 0;
    if (state & GDK_SHIFT_MASK)
        m |= events::kModShift;
    if (state & GDK_CONTROL_MASK)
        m |= events::kModControl;
    if (state & GDK_MOD1_MASK)
        m |= events::kModOption;
    if (state & (GDK_SUPER_MASK | GDK_MOD4_MASK))
        m |= events::kModCommand;
    if (state & GDK_LOCK_MASK)
        m |= events::kModCapsLock;
    return m;
}

bool MapGdkKey(unsigned keyval, unsigned state, MappedKey& out)
{
    out = MappedKey();
    out.modifiers = MapGdkModifiers(state);
    bool found = false;
    for (const NamedKey& k : kNamedKeys)
        if (k.keyval == keyval) {
            out.code = k.code;
            found = true;
            break;
        }
    if (!found) {
        const char32_t c = gdk_keyval_to_unicode(gdk_keyval_to_lower(keyval));
        std::uint16_t shift = 0;
        if (c == 0 || !UsKeyFor(c, out.code, shift))
            return false;
    }
    for (const CommandShortcut& k : kCommandShortcuts)
        if (k.code == out.code && k.modifiers == (out.modifiers & ~events::kModCapsLock)) {
            out.modifiers
                = static_cast<std::uint16_t>((out.modifiers & ~events::kModControl) | events::kModCommand);
            break;
        }
    out.message = UsKeyMessage(out.code, out.modifiers);
    return true;
}

unsigned GdkKeyvalFor(std::uint8_t code)
{
    for (const NamedKey& k : kNamedKeys)
        if (k.code == code)
            return k.keyval;
    if (code == input::kVK_Space)
        return GDK_KEY_space;
    const char16_t c = input::KeyboardLayout::UnitedStates().Translate(code, 0);
    return c >= 0x20 && c < 0x7F ? gdk_unicode_to_keyval(c) : 0;
}

unsigned GdkStateFor(std::uint16_t modifiers)
{
    unsigned state = 0;
    if (modifiers & events::kModShift)
        state |= GDK_SHIFT_MASK;
    if (modifiers & events::kModControl)
        state |= GDK_CONTROL_MASK;
    if (modifiers & events::kModOption)
        state |= GDK_MOD1_MASK;
    if (modifiers & events::kModCommand)
        state |= GDK_MOD4_MASK;
    if (modifiers & events::kModCapsLock)
        state |= GDK_LOCK_MASK;
    return state;
}

} // namespace qm::host
