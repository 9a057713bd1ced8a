#include "base/shims/Keys.h"

#include "platform/events/Services.h"

SHORT GetKeyState(unsigned short key)
{
    std::uint32_t bit = 0;
    switch (key) {
    case kKeyCommand: bit = qm::events::kModCommand; break;
    case kKeyShift: bit = qm::events::kModShift; break;
    case kKeyOption: bit = qm::events::kModOption; break;
    case kKeyControl:
    case kKeyControlToo: bit = qm::events::kModControl; break;
    default: return 0;
    }
    const std::uint32_t held = qm::events::Services::Get().Input().modifiers;
    return (held & bit) != 0 ? static_cast<SHORT>(0x8080) : static_cast<SHORT>(0);
}

bool IsExtKey(int a, unsigned int b, unsigned int) { return static_cast<unsigned int>(a) == b; }

bool IsValidChar(int c) { return c >= 32 && c != 127; }
