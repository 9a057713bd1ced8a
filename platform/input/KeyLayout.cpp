#include "platform/input/KeyLayout.h"

#include "platform/events/Services.h"

#include <array>

namespace qm::input {

namespace {

struct Key
{
    char16_t plain = 0;
    char16_t shift = 0;
    char16_t option = 0;
};

constexpr char16_t kFunctionKey = 16;

using Table = std::array<Key, 128>;

void Set(Table& t, std::uint8_t code, char16_t plain, char16_t shift, char16_t option)
{
    t[code] = Key{plain, shift, option};
}

// Keys that give the same character under every modifier.
void Same(Table& t, std::uint8_t code, char16_t c) { Set(t, code, c, c, c); }

Table MakeTable()
{
    Table t{};
    // Letters: plain, Shift, Option.
    const struct
    {
        std::uint8_t code;
        char letter;
        char16_t option;
    } letters[] = {
        {0x00, 'a', u'\u00E5'},
        {0x0B, 'b', u'\u222B'},
        {0x08, 'c', u'\u00E7'},
        {0x02, 'd', u'\u2202'},
        {0x0E, 'e', u'\u00B4'},
        {0x03, 'f', u'\u0192'},
        {0x05, 'g', u'\u00A9'},
        {0x04, 'h', u'\u02D9'},
        {0x22, 'i', u'\u02C6'},
        {0x26, 'j', u'\u2206'},
        {0x28, 'k', u'\u02DA'},
        {0x25, 'l', u'\u00AC'},
        {0x2E, 'm', u'\u00B5'},
        {0x2D, 'n', u'\u02DC'},
        {0x1F, 'o', u'\u00F8'},
        {0x23, 'p', u'\u03C0'},
        {0x0C, 'q', u'\u0153'},
        {0x0F, 'r', u'\u00AE'},
        {0x01, 's', u'\u00DF'},
        {0x11, 't', u'\u2020'},
        {0x20, 'u', u'\u00A8'},
        {0x09, 'v', u'\u221A'},
        {0x0D, 'w', u'\u2211'},
        {0x07, 'x', u'\u2248'},
        {0x10, 'y', u'\u00A5'},
        {0x06, 'z', u'\u03A9'},
    };
    for (const auto& l : letters)
        Set(t, l.code, char16_t(l.letter), char16_t(l.letter - 'a' + 'A'), l.option);
    // Digits and symbols.
    Set(t, 0x12, '1', '!', u'\u00A1');
    Set(t, 0x13, '2', '@', u'\u2122');
    Set(t, 0x14, '3', '#', u'\u00A3');
    Set(t, 0x15, '4', '$', u'\u00A2');
    Set(t, 0x17, '5', '%', u'\u221E');
    Set(t, 0x16, '6', '^', u'\u00A7');
    Set(t, 0x1A, '7', '&', u'\u00B6');
    Set(t, 0x1C, '8', '*', u'\u2022');
    Set(t, 0x19, '9', '(', u'\u00AA');
    Set(t, 0x1D, '0', ')', u'\u00BA');
    Set(t, 0x1B, '-', '_', u'\u2013');
    Set(t, 0x18, '=', '+', u'\u2260');
    Set(t, 0x21, '[', '{', u'\u201C');
    Set(t, 0x1E, ']', '}', u'\u2018');
    Set(t, 0x2A, '\\', '|', u'\u00AB');
    Set(t, 0x29, ';', ':', u'\u2026');
    Set(t, 0x27, '\'', '"', u'\u00E6');
    Set(t, 0x2B, ',', '<', u'\u2264');
    Set(t, 0x2F, '.', '>', u'\u2265');
    Set(t, 0x2C, '/', '?', u'\u00F7');
    Set(t, 0x32, '`', '~', '`');
    Set(t, kVK_Space, ' ', ' ', u'\u00A0');
    // Keypad.
    const char keypad[][2] = {{0x52, '0'}, {0x53, '1'}, {0x54, '2'}, {0x55, '3'}, {0x56, '4'}, {0x57, '5'},
        {0x58, '6'}, {0x59, '7'}, {0x5B, '8'}, {0x5C, '9'}, {0x41, '.'}, {0x43, '*'}, {0x45, '+'},
        {0x4B, '/'}, {0x4E, '-'}, {0x51, '='}};
    for (const auto& k : keypad)
        Same(t, static_cast<std::uint8_t>(k[0]), char16_t(k[1]));
    // Keys that edit and move.
    Same(t, kVK_Return, 13);
    Same(t, kVK_Tab, 9);
    Same(t, kVK_Delete, 8);
    Same(t, kVK_Escape, 27);
    Same(t, 0x47, 27); // keypad Clear
    Same(t, kVK_ANSI_KeypadEnter, 3);
    Same(t, 0x34, 3); // the Enter key of small keyboards
    Same(t, kVK_Home, 1);
    Same(t, kVK_End, 4);
    Same(t, kVK_Help, 5);
    Same(t, kVK_PageUp, 11);
    Same(t, kVK_PageDown, 12);
    Same(t, kVK_ForwardDelete, 127);
    Same(t, kVK_LeftArrow, 28);
    Same(t, kVK_RightArrow, 29);
    Same(t, kVK_UpArrow, 30);
    Same(t, kVK_DownArrow, 31);
    // Function keys F1-F15.
    for (std::uint8_t code :
        {0x7A, 0x78, 0x63, 0x76, 0x60, 0x61, 0x62, 0x64, 0x65, 0x6D, 0x67, 0x6F, 0x69, 0x6B, 0x71})
        Same(t, code, kFunctionKey);
    return t;
}

const Table& Keys()
{
    static const Table table = MakeTable();
    return table;
}

bool IsLetter(char16_t c) { return c >= 'a' && c <= 'z'; }

char16_t ControlCharacter(char16_t plain)
{
    if (IsLetter(plain))
        return char16_t(plain - 'a' + 1);
    switch (plain) {
    case '[': return 27;
    case '\\': return 28;
    case ']': return 29;
    case '-': return 31;
    default: return plain;
    }
}

} // namespace

char16_t KeyboardLayout::Translate(std::uint8_t keyCode, std::uint32_t modifierByte) const
{
    if (keyCode >= Keys().size())
        return 0;
    const Key& key = Keys()[keyCode];
    if (modifierByte & kModifierByteControl)
        return ControlCharacter(key.plain);
    if (modifierByte & kModifierByteOption)
        return key.option;
    if (modifierByte & kModifierByteShift)
        return key.shift;
    if ((modifierByte & kModifierByteCapsLock) && IsLetter(key.plain))
        return key.shift;
    return key.plain;
}

const KeyboardLayout& KeyboardLayout::UnitedStates()
{
    static const KeyboardLayout layout;
    return layout;
}

const KeyboardLayout* CurrentLayoutData()
{
    if (events::Services::Get().Input().noLayoutData)
        return nullptr;
    return &KeyboardLayout::UnitedStates();
}

int UCKeyTranslate(const KeyboardLayout* layout, std::uint16_t virtualKeyCode, std::uint16_t keyAction,
    std::uint32_t modifierKeyState, std::uint32_t, std::uint32_t, std::uint32_t* deadKeyState,
    std::size_t maxStringLength, std::size_t* actualStringLength, char16_t* unicodeString)
{
    if (!layout || !actualStringLength || (maxStringLength > 0 && !unicodeString))
        return -50;
    *actualStringLength = 0;
    if (deadKeyState)
        *deadKeyState = 0;
    if (keyAction != kUCKeyActionDown && keyAction != kUCKeyActionAutoKey)
        return 0;
    if (virtualKeyCode > 0xFF)
        return 0;
    const char16_t c = layout->Translate(static_cast<std::uint8_t>(virtualKeyCode), modifierKeyState);
    if (c != 0 && maxStringLength > 0) {
        unicodeString[0] = c;
        *actualStringLength = 1;
    }
    return 0;
}

} // namespace qm::input
