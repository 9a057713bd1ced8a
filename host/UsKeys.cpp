#include "host/UsKeys.h"

#include "platform/events/InputState.h"
#include "platform/input/KeyLayout.h"

#include <map>
#include <utility>

namespace qm::host {

bool UsKeyFor(char32_t c, std::uint8_t& code, std::uint16_t& modifiers)
{
    static const std::map<char32_t, std::pair<std::uint8_t, std::uint16_t>> keys = [] {
        std::map<char32_t, std::pair<std::uint8_t, std::uint16_t>> m;
        const input::KeyboardLayout& us = input::KeyboardLayout::UnitedStates();
        for (std::uint8_t k = 0; k < 0x80; ++k) {
            for (std::uint16_t mod : {std::uint16_t(0), std::uint16_t(events::kModShift)}) {
                const char16_t ch = us.Translate(k, mod >> 8);
                if (ch >= 0x20 && ch < 0x7F && m.count(ch) == 0)
                    m[ch] = {k, mod};
            }
        }
        m['\n'] = {input::kVK_Return, 0};
        m['\r'] = {input::kVK_Return, 0};
        m['\t'] = {input::kVK_Tab, 0};
        return m;
    }();
    auto it = keys.find(c);
    if (it == keys.end())
        return false;
    code = it->second.first;
    modifiers = it->second.second;
    return true;
}

char16_t UsKeyCharacter(std::uint8_t code, std::uint16_t modifiers)
{
    return input::KeyboardLayout::UnitedStates().Translate(code, modifiers >> 8);
}

std::uint32_t UsKeyMessage(std::uint8_t code, std::uint16_t modifiers)
{
    const char16_t ch = UsKeyCharacter(code, modifiers);
    return (std::uint32_t(code) << 8) | (ch < 0x80 ? ch : 0);
}

} // namespace qm::host
