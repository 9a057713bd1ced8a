#pragma once
// The state of the pointer and keyboard as the host last reported it. Only
// the host writes it (through Services::Input()); everything else reads it.

#include <cstdint>

namespace qm::events {

// Modifier bits, as event records carry them.
constexpr std::uint32_t kModCommand = 0x0100;
constexpr std::uint32_t kModShift = 0x0200;
constexpr std::uint32_t kModCapsLock = 0x0400;
constexpr std::uint32_t kModOption = 0x0800;
constexpr std::uint32_t kModControl = 0x1000;

// Mouse button bits.
constexpr std::uint32_t kButtonPrimary = 0x1;
constexpr std::uint32_t kButtonSecondary = 0x2;

struct InputState
{
    std::uint32_t buttons = 0;   // kButton... bits held down
    std::uint32_t modifiers = 0; // kMod... bits held down
    int mouseV = 0;              // pointer position, global coordinates
    int mouseH = 0;
    bool noLayoutData = false; // the keyboard layout offers no data (platform/input)
};

} // namespace qm::events
