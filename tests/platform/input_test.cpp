// Keyboard layout and two-byte decoding: the characters the editor's key map
// reads for each key and modifier, the "no layout data" switch, and the
// Chinese and Japanese pairs a browser hands over byte by byte.

#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/input/TwoByte.h"

#include <gtest/gtest.h>

using namespace qm::input;

namespace {

constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kCommand = kModifierByteCommand;
constexpr std::uint32_t kShift = kModifierByteShift;
constexpr std::uint32_t kCaps = kModifierByteCapsLock;
constexpr std::uint32_t kOption = kModifierByteOption;
constexpr std::uint32_t kControl = kModifierByteControl;

TEST(KeyLayout, CharactersByKeyAndModifier)
{
    const struct
    {
        std::uint8_t key;
        std::uint32_t modifiers;
        char16_t expected;
        const char* what;
    } cases[] = {
        {kVK_ANSI_A, kNone, 'a', "a"},
        {kVK_ANSI_A, kShift, 'A', "Shift+A"},
        {kVK_ANSI_A, kCaps, 'A', "Caps Lock upper-cases letters"},
        {0x12, kCaps, '1', "but not digits"},
        {kVK_ANSI_A, kControl, 1, "Control+A selects all"},
        {kVK_ANSI_A, kControl | kShift, 1, "Control wins over Shift"},
        {kVK_ANSI_C, kControl, 3, "Control+C is Enter's code"},
        {kVK_ANSI_Z, kControl, 26, "Control+Z undoes"},
        {0x21, kControl, 27, "Control+["},
        {kVK_Space, kControl, ' ', "Control+Space stays a space"},
        {0x12, kControl, '1', "Control+1 gives the digit"},
        {kVK_ANSI_Z, kCommand, 'z', "Command plays no part"},
        {kVK_ANSI_Z, kCommand | kShift, 'Z', "Command+Shift+Z"},
        {kVK_ANSI_A, kOption, u'\u00E5', "Option+A"},
        {0x0E, kOption, u'\u00B4', "Option+E gives the spacing accent"},
        {kVK_Space, kOption, u'\u00A0', "Option+Space is a no-break space"},
        {0x13, kShift, '@', "Shift+2"},
        {0x2C, kShift, '?', "Shift+/"},
        {kVK_Home, kNone, 1, "Home"},
        {kVK_Home, kControl, 1, "Home with Control"},
        {kVK_End, kNone, 4, "End"},
        {kVK_PageUp, kNone, 11, "Page Up"},
        {kVK_PageDown, kNone, 12, "Page Down"},
        {kVK_Return, kNone, 13, "Return"},
        {kVK_ANSI_KeypadEnter, kNone, 3, "Enter"},
        {kVK_Tab, kShift, 9, "Shift+Tab is still Tab"},
        {kVK_Delete, kNone, 8, "Backspace"},
        {kVK_ForwardDelete, kNone, 127, "forward Delete"},
        {kVK_LeftArrow, kNone, 28, "left"},
        {kVK_RightArrow, kNone, 29, "right"},
        {kVK_UpArrow, kNone, 30, "up"},
        {kVK_DownArrow, kShift, 31, "Shift+down"},
        {kVK_F1, kNone, 16, "function key"},
        {0x53, kShift, '1', "keypad 1"},
        {0x0A, kNone, 0, "no key there"},
        {0x7F, kNone, 0, "nor there"},
    };
    const KeyboardLayout& us = KeyboardLayout::UnitedStates();
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<int>(c.expected), static_cast<int>(us.Translate(c.key, c.modifiers))) << c.what;
}

TEST(KeyLayout, TranslationThroughTheCurrentLayoutAndTheNoDataSwitch)
{
    qm::events::InputState& input = qm::events::Services::Get().Input();
    char16_t out[10] = {};
    std::size_t length = 99;
    std::uint32_t dead = 7;
    ASSERT_NE(nullptr, CurrentLayoutData());
    EXPECT_EQ(0,
        UCKeyTranslate(CurrentLayoutData(), kVK_ANSI_A, kUCKeyActionDown, kControl, 0,
            kUCKeyTranslateNoDeadKeysMask, &dead, 10, &length, out));
    EXPECT_EQ(1u, length);
    EXPECT_EQ(1, out[0]);
    EXPECT_EQ(0u, dead);
    // A key going up gives nothing; auto-key does.
    EXPECT_EQ(
        0, UCKeyTranslate(CurrentLayoutData(), kVK_ANSI_A, kUCKeyActionUp, 0, 0, 0, &dead, 10, &length, out));
    EXPECT_EQ(0u, length);
    EXPECT_EQ(0,
        UCKeyTranslate(
            CurrentLayoutData(), kVK_ANSI_A, kUCKeyActionAutoKey, 0, 0, 0, &dead, 10, &length, out));
    EXPECT_EQ(1u, length);
    // No room: no character, no overrun.
    EXPECT_EQ(0,
        UCKeyTranslate(
            CurrentLayoutData(), kVK_ANSI_A, kUCKeyActionDown, 0, 0, 0, &dead, 0, &length, nullptr));
    EXPECT_EQ(0u, length);

    input.noLayoutData = true;
    EXPECT_EQ(nullptr, CurrentLayoutData());
    EXPECT_EQ(-50,
        UCKeyTranslate(CurrentLayoutData(), kVK_ANSI_A, kUCKeyActionDown, 0, 0, 0, &dead, 10, &length, out));
    qm::events::Services::Get().Reset();
    EXPECT_NE(nullptr, CurrentLayoutData());
}

TEST(TwoByte, ChineseAndJapanesePairs)
{
    const struct
    {
        std::uint8_t lead, trail;
        bool ok;
        char16_t expected;
        const char* what;
    } cases[] = {
        {0xC4, 0xE3, true, u'\u4F60', "GB 2312: lead above 160"},
        {0xB0, 0xA1, true, u'\u554A', "GB 2312: the first hanzi"},
        {0x82, 0xA0, true, u'\u3042', "Shift_JIS: lead 160 or less"},
        {0x93, 0xFA, true, u'\u65E5', "Shift_JIS kanji"},
        {0xE0, 0x40, true, u'\u6F3E', "not GB 2312 (trail too low): Shift_JIS"},
        {0x81, 0x20, false, 0, "neither"},
        {0xFF, 0xFF, false, 0, "neither, lead above 160"},
    };
    for (const auto& c : cases) {
        char16_t out = 0;
        EXPECT_EQ(c.ok, DecodeTwoByteCharacter(c.lead, c.trail, out)) << c.what;
        if (c.ok) {
            EXPECT_EQ(static_cast<int>(c.expected), static_cast<int>(out)) << c.what;
        }
    }
}

TEST(TwoByte, WholeRunsFailOnAnyBadSequence)
{
    std::u16string out;
    const std::uint8_t chinese[] = {0xC4, 0xE3, 0xBA, 0xC3}; // "ni hao"
    ASSERT_TRUE(DecodeSimplifiedChinese(chinese, sizeof chinese, out));
    EXPECT_EQ(u"\u4F60\u597D", out);
    const std::uint8_t cut[] = {0xC4, 0xE3, 0xBA}; // a lead byte without its trail
    EXPECT_FALSE(DecodeSimplifiedChinese(cut, sizeof cut, out));
    EXPECT_TRUE(out.empty());
    const std::uint8_t japanese[] = {0x82, 0xA0, 'a'};
    ASSERT_TRUE(DecodeJapanese(japanese, sizeof japanese, out));
    EXPECT_EQ(u"\u3042a", out);
    EXPECT_TRUE(DecodeJapanese(nullptr, 0, out));
    EXPECT_TRUE(out.empty());
}

} // namespace
