// Characters into the engine: key events translated by one of two roads,
// and text from text-input events.
//
// A browser that delivers characters byte by byte (g_IsSafara) sends a
// two-byte character (Chinese or Japanese) as two key events with key code
// 0: the first byte waits in m_pendingByte and the second completes it.
// Every other key event is translated by the keyboard layout. Once the
// control has seen a text-input event, typed text arrives only that way
// (the control stops routing key-downs); the first such event is not typed,
// since its key has already come through as a key event.

#include "editor/XHTML.h"

#include "editor/KeyRoute.h"
#include "editor/PluginPortScope.h"
#include "element/Element.h"
#include "element/services/ControlServices.h"
#include "platform/events/Event.h"
#include "platform/input/KeyLayout.h"
#include "platform/input/TwoByte.h"
#include "platform/np/EventRecord.h"

#include <algorithm>
#include <string>

namespace {

// The message of the real A key: key code 0, character 'a'.
constexpr std::uint32_t kPlainAKey = 0x61;

// Room for the characters of one key.
constexpr std::size_t kKeyUnits = 10;

// Text-input parameters: the fixed (confirmed) part's length in bytes.
constexpr std::uint32_t kParamFixedLength = qm::events::FourCC("tsfx");

// Mac OS Roman bytes 0x80 to 0xFF.
constexpr unsigned short kMacRomanHigh[128] = {
    0x00C4,
    0x00C5,
    0x00C7,
    0x00C9,
    0x00D1,
    0x00D6,
    0x00DC,
    0x00E1, //
    0x00E0,
    0x00E2,
    0x00E4,
    0x00E3,
    0x00E5,
    0x00E7,
    0x00E9,
    0x00E8, //
    0x00EA,
    0x00EB,
    0x00ED,
    0x00EC,
    0x00EE,
    0x00EF,
    0x00F1,
    0x00F3, //
    0x00F2,
    0x00F4,
    0x00F6,
    0x00F5,
    0x00FA,
    0x00F9,
    0x00FB,
    0x00FC, //
    0x2020,
    0x00B0,
    0x00A2,
    0x00A3,
    0x00A7,
    0x2022,
    0x00B6,
    0x00DF, //
    0x00AE,
    0x00A9,
    0x2122,
    0x00B4,
    0x00A8,
    0x2260,
    0x00C6,
    0x00D8, //
    0x221E,
    0x00B1,
    0x2264,
    0x2265,
    0x00A5,
    0x00B5,
    0x2202,
    0x2211, //
    0x220F,
    0x03C0,
    0x222B,
    0x00AA,
    0x00BA,
    0x03A9,
    0x00E6,
    0x00F8, //
    0x00BF,
    0x00A1,
    0x00AC,
    0x221A,
    0x0192,
    0x2248,
    0x2206,
    0x00AB, //
    0x00BB,
    0x2026,
    0x00A0,
    0x00C0,
    0x00C3,
    0x00D5,
    0x0152,
    0x0153, //
    0x2013,
    0x2014,
    0x201C,
    0x201D,
    0x2018,
    0x2019,
    0x00F7,
    0x25CA, //
    0x00FF,
    0x0178,
    0x2044,
    0x20AC,
    0x2039,
    0x203A,
    0xFB01,
    0xFB02, //
    0x2021,
    0x00B7,
    0x201A,
    0x201E,
    0x2030,
    0x00C2,
    0x00CA,
    0x00C1, //
    0x00CB,
    0x00C8,
    0x00CD,
    0x00CE,
    0x00CF,
    0x00CC,
    0x00D3,
    0x00D4, //
    0xF8FF,
    0x00D2,
    0x00DA,
    0x00DB,
    0x00D9,
    0x0131,
    0x02C6,
    0x02DC, //
    0x00AF,
    0x02D8,
    0x02D9,
    0x02DA,
    0x00B8,
    0x02DD,
    0x02DB,
    0x02C7,
};

// The fixed part of an input-area update, in units; the whole text when
// the event does not say.
long FixedUnits(const qm::events::Event& event, long whole)
{
    std::int64_t bytes = 0;
    std::uint32_t bytes32 = 0;
    if (event.GetParam(kParamFixedLength, bytes))
        return long(std::clamp<std::int64_t>(bytes / 2, 0, whole));
    if (event.GetParam(kParamFixedLength, bytes32))
        return long(std::min<std::int64_t>(bytes32 / 2, whole));
    return whole;
}

} // namespace

unsigned short CXHTML::MacRoman2UCS(unsigned char c) { return c < 0x80 ? c : kMacRomanHigh[c - 0x80]; }

bool CXHTML::TranslateKey(const EventRecord& record, unsigned short& character)
{
    const auto byte = static_cast<std::uint8_t>(record.message & charCodeMask);
    const auto keyCode = static_cast<std::uint8_t>((record.message & keyCodeMask) >> 8);
    const std::uint32_t modifierByte = (record.modifiers >> 8) & 0xFF;
    if (g_IsSafara && keyCode == 0 && record.message != kPlainAKey && modifierByte == 0) {
        if (m_pendingByte == 0) {
            m_pendingByte = byte;
            return false;
        }
        const auto lead = static_cast<std::uint8_t>(m_pendingByte);
        m_pendingByte = 0;
        char16_t decoded = 0;
        if (!qm::input::DecodeTwoByteCharacter(lead, byte, decoded))
            return false; // a pair that decodes in neither encoding is dropped
        character = decoded;
        return true;
    }
    m_pendingByte = 0;
    const qm::input::KeyboardLayout* layout = qm::input::CurrentLayoutData();
    if (!layout)
        return false; // no layout data: no character
    std::uint32_t deadKeyState = 0;
    std::size_t length = 0;
    char16_t units[kKeyUnits] = {};
    if (qm::input::UCKeyTranslate(layout, keyCode, qm::input::kUCKeyActionDown, modifierByte, 0,
            qm::input::kUCKeyTranslateNoDeadKeysMask, &deadKeyState, kKeyUnits, &length, units)
            != 0
        || length == 0)
        return false;
    character = units[0];
    return true;
}

int CXHTML::TextInputHandler(const qm::events::NextHandler& next, qm::events::Event& event, void* engine)
{
    auto* self = static_cast<CXHTML*>(engine);
    CControlServices* control = self ? self->m_control : nullptr;
    if (control && control->HasKeyboardFocus() && !control->IsPopupShowing()) {
        try {
            // The text is read whole, however long.
            std::u16string text;
            event.GetParam(qm::events::kParamText, text);
            const long whole = long(text.size());
            const long fixed
                = event.Kind() == qm::events::kEventTextInputUnicode ? whole : FixedUnits(event, whole);
            const std::basic_string<unsigned short> units(text.begin(), text.end());
            CPluginPortScope port(self->m_window);
            // The source view takes no key-downs, so its text comes only
            // from here, the first text included; the document typed the
            // key-down of a first text already.
            if (control->GetViewMode() == 1) {
                control->SourceUnicodeInput(units.c_str(), int(fixed));
            } else if (control->GetViewMode() == 0 && control->IsTextInputSeen()) {
                self->MacUnicodeInput(units.c_str(), int(fixed));
                self->m_doc.ReleaseRemovedElements();
            }
            control->SetTextInputSeen();
        } catch (...) {
            // The text is dropped; the event still goes on.
        }
    }
    return qm::events::CallNextHandler(next, event);
}

void CXHTML::MacUnicodeInput(const unsigned short* text, int fixedLength)
{
    if (!text)
        return;
    long count = 0;
    for (; text[count]; ++count)
        OnChar(text[count], 1, 0);
    if (fixedLength != 0 || count == 0)
        return;
    // A composition not yet confirmed stays selected, so that the next
    // update replaces it: what was typed before the caret, within its run.
    CElement* run = m_doc.m_caretElement;
    if (!m_doc.IsElementInTree(run) || !run->IsTextElement())
        return;
    const long caret = std::min<long>(run->m_caretOffset, run->m_text.Length());
    const long start = std::max<long>(0, caret - count);
    const long end = caret - 1;
    if (end < start)
        return;
    run->m_selStart = start;
    run->m_selEnd = end;
    run->m_selected = 1;
    m_doc.m_selectionPresent = 1;
    m_doc.DrawDoc(2);
    m_doc.Redraw();
}
