#pragma once
// The keyboard layout: which character a key gives. The only layout is the
// US one, keyed by virtual key code, with four columns:
//   plain    the key alone (Caps Lock upper-cases letters);
//   Shift    upper-case letters and the shifted symbols;
//   Option   the layout's Option characters (with dead-key processing off,
//            the accent keys give their spacing accents; Option+Space is a
//            no-break space);
//   Control  letters give 1-26, "[" 27, "\" 28, "]" 29, "-" 31; every other
//            key gives what it gives alone (Control+Space stays a space).
// Control wins over Option, Option over Shift; Command plays no part, so
// Command+Z gives "z". Keys that give no character in text (function keys)
// give 16; the navigation keys give the control characters the editor
// reads: Home 1, Enter 3, End 4, Help 5, Backspace 8, Tab 9, Page Up 11,
// Page Down 12, Return 13, Escape 27, arrows 28-31 (left, right, up,
// down), forward Delete 127.
//
// The host can switch the layout's data off ("no layout data",
// InputState::noLayoutData); the current layout then offers none and key
// translation gives no character, as on a system without such a layout.

#include <cstddef>
#include <cstdint>

namespace qm::input {

// Virtual key codes of keys named by the code and the tests.
constexpr std::uint8_t kVK_ANSI_A = 0x00;
constexpr std::uint8_t kVK_ANSI_C = 0x08;
constexpr std::uint8_t kVK_ANSI_V = 0x09;
constexpr std::uint8_t kVK_ANSI_X = 0x07;
constexpr std::uint8_t kVK_ANSI_Z = 0x06;
constexpr std::uint8_t kVK_Return = 0x24;
constexpr std::uint8_t kVK_Tab = 0x30;
constexpr std::uint8_t kVK_Space = 0x31;
constexpr std::uint8_t kVK_Delete = 0x33;
constexpr std::uint8_t kVK_Escape = 0x35;
constexpr std::uint8_t kVK_ANSI_KeypadEnter = 0x4C;
constexpr std::uint8_t kVK_F1 = 0x7A;
constexpr std::uint8_t kVK_Help = 0x72;
constexpr std::uint8_t kVK_Home = 0x73;
constexpr std::uint8_t kVK_PageUp = 0x74;
constexpr std::uint8_t kVK_ForwardDelete = 0x75;
constexpr std::uint8_t kVK_End = 0x77;
constexpr std::uint8_t kVK_PageDown = 0x79;
constexpr std::uint8_t kVK_LeftArrow = 0x7B;
constexpr std::uint8_t kVK_RightArrow = 0x7C;
constexpr std::uint8_t kVK_DownArrow = 0x7D;
constexpr std::uint8_t kVK_UpArrow = 0x7E;

// The modifier byte of key translation: bits 8-15 of the event record's
// modifiers (Command 0x01, Shift 0x02, Caps Lock 0x04, Option 0x08,
// Control 0x10).
constexpr std::uint32_t kModifierByteCommand = 0x01;
constexpr std::uint32_t kModifierByteShift = 0x02;
constexpr std::uint32_t kModifierByteCapsLock = 0x04;
constexpr std::uint32_t kModifierByteOption = 0x08;
constexpr std::uint32_t kModifierByteControl = 0x10;

class KeyboardLayout
{
public:
    // The character of a key under a modifier byte; 0 when the key gives none.
    char16_t Translate(std::uint8_t keyCode, std::uint32_t modifierByte) const;

    static const KeyboardLayout& UnitedStates();

private:
    KeyboardLayout() = default;
};

// The current layout's data: the US layout, or null while the host has
// switched layout data off.
const KeyboardLayout* CurrentLayoutData();

// Key translation as the editor calls it. Actions: 0 key down, 1 key up,
// 2 auto-key (only down and auto-key give characters). Answers 0 with the
// characters in unicodeString (at most maxLength) and their count in
// actualLength (0 for a key that gives none), or -50 for a null layout or
// out-argument. The keyboard type, the options and the dead-key state play
// no part: dead keys are never pending.
constexpr std::uint16_t kUCKeyActionDown = 0;
constexpr std::uint16_t kUCKeyActionUp = 1;
constexpr std::uint16_t kUCKeyActionAutoKey = 2;
constexpr std::uint32_t kUCKeyTranslateNoDeadKeysMask = 1;
int UCKeyTranslate(const KeyboardLayout* layout, std::uint16_t virtualKeyCode, std::uint16_t keyAction,
    std::uint32_t modifierKeyState, std::uint32_t keyboardType, std::uint32_t keyTranslateOptions,
    std::uint32_t* deadKeyState, std::size_t maxStringLength, std::size_t* actualStringLength,
    char16_t* unicodeString);

} // namespace qm::input
