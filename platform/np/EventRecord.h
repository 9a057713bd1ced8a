#pragma once
// The event record a browser hands to NPP_HandleEvent, read field by field:
// the kind, the message (for keys the character code in bits 0-7 and the
// virtual key code in bits 8-15), the time in ticks, the pointer in global
// (screen) coordinates as (v, h), and the modifier bits of
// platform/events/InputState.h (0x0100 Command, 0x0200 Shift, 0x0800 Option,
// 0x1000 Control).

#include "platform/qd/Region.h"

#include <cstdint>

struct EventRecord
{
    std::uint16_t what;
    std::uint32_t message;
    std::uint32_t when;
    qm::qd::Point where;
    std::uint16_t modifiers;
};

// Kinds (what).
constexpr std::uint16_t nullEvent = 0;
constexpr std::uint16_t mouseDown = 1;
constexpr std::uint16_t mouseUp = 2;
constexpr std::uint16_t keyDown = 3;
constexpr std::uint16_t keyUp = 4;
constexpr std::uint16_t autoKey = 5;
constexpr std::uint16_t updateEvt = 6;
constexpr std::uint16_t activateEvt = 8;
constexpr std::uint16_t NPEventType_GetFocusEvent = 31;
constexpr std::uint16_t NPEventType_LoseFocusEvent = 32;
constexpr std::uint16_t NPEventType_AdjustCursorEvent = 33;

// Parts of the message of a key event.
constexpr std::uint32_t charCodeMask = 0x000000FF;
constexpr std::uint32_t keyCodeMask = 0x0000FF00;
