// Browser events fed to the editing engine on a small document: each step
// of the input is an event kind, a key code, a character byte, modifiers
// and a point (inside, on or beyond the window's edges), or one of the
// engine's own entries (a character into the key map, a double click on a
// picked element, text from an input method, a timer tick). The documents
// hold the places the key map treats specially: empty blocks, list items,
// a caption, an image and locked content. Nothing may crash, and after
// each step the caret element is live or none.

#include "fuzz/FuzzText.h"
#include "fuzz/FuzzTree.h"

#include "editor/KeyRoute.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/SourceCode.h"
#include "platform/events/InputState.h"
#include "platform/events/Services.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kDocuments[] = {
    "<p>one _x_Here_to_put_cursor_x_two</p><p></p><p>three</p>",
    "<ul><li>a</li><li>_x_Here_to_put_cursor_x_</li></ul><div></div><p>b</p>",
    "<table><caption>c_x_Here_to_put_cursor_x_ap</caption><tr><td>x</td><td> </td></tr></table>",
    "<p style=\"-qm-lock: true\">lo_x_Here_to_put_cursor_x_cked</p><p>free <b>bold</b></p>",
    "<p>pic <img src=\"none.png\" alt=\"a\" />_x_Here_to_put_cursor_x_ <a href=\"x\">link text</a></p>",
    "<h1></h1><p>_x_Here_to_put_cursor_x_</p><h2>h</h2>",
};
constexpr std::size_t kDocumentCount = sizeof kDocuments / sizeof kDocuments[0];

const std::uint16_t kKinds[] = {nullEvent, mouseDown, mouseUp, keyDown, autoKey, updateEvt, activateEvt,
    NPEventType_GetFocusEvent, NPEventType_LoseFocusEvent, keyUp, 99};
constexpr std::size_t kKindCount = sizeof kKinds / sizeof kKinds[0];

const unsigned int kChars[] = {'a', ' ', 1, 3, 4, 8, 9, 11, 12, 13, 26, 28, 29, 30, 31, 127, 'z', 'v', 'x',
    'b', 'c', 'k', 'f', 'h', 0xA0, 0x4E2D, 0xD800};
constexpr std::size_t kCharCount = sizeof kChars / sizeof kChars[0];

std::vector<CElement*> Elements(CXHTML& engine)
{
    return engine.m_doc.m_root ? qmfuzz::ElementsBelow(engine.m_doc.m_root) : std::vector<CElement*>();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    CXHTML engine;
    NPWindow window{nullptr, 0, 0, fdp.ConsumeIntegralInRange<std::uint32_t>(0, 300),
        fdp.ConsumeIntegralInRange<std::uint32_t>(0, 200), NPRect{0, 0, 200, 300}, NPWindowTypeDrawable};
    engine.m_window = &window;
    const std::string markup = kDocuments[fdp.ConsumeIntegral<std::uint8_t>() % kDocumentCount];
    if (!engine.LoadDocument(CSafeBuf(markup.c_str())))
        return 0;
    g_IsSafara = fdp.ConsumeBool() ? 1 : 0;
    qm::events::InputState& input = qm::events::Services::Get().Input();

    for (int step = 0; step < 64 && fdp.remaining_bytes() > 0; ++step) {
        const std::uint8_t op = fdp.ConsumeIntegral<std::uint8_t>();
        const std::uint8_t modifierBits = fdp.ConsumeIntegral<std::uint8_t>();
        const std::uint16_t modifiers = static_cast<std::uint16_t>((modifierBits & 0x1F) << 8);
        input.modifiers = modifiers;
        input.buttons = (modifierBits & 0x80) ? qm::events::kButtonPrimary : 0;
        const auto h = static_cast<std::int16_t>(fdp.ConsumeIntegralInRange<int>(-20, 320));
        const auto v = static_cast<std::int16_t>(fdp.ConsumeIntegralInRange<int>(-20, 220));
        switch (op % 6) {
        case 0:
        case 1: {
            const std::uint8_t keyCode = fdp.ConsumeIntegral<std::uint8_t>();
            const std::uint8_t byte = fdp.ConsumeIntegral<std::uint8_t>();
            EventRecord e{
                kKinds[(op / 6) % kKindCount], (std::uint32_t(keyCode) << 8) | byte, 0, {v, h}, modifiers};
            engine.HandleEvent(&e);
            break;
        }
        case 2: engine.OnChar(kChars[(op / 6) % kCharCount], 1, 0); break;
        case 3: {
            const std::vector<CElement*> elements = Elements(engine);
            if (!elements.empty()) {
                CElement* e = elements[fdp.ConsumeIntegral<std::uint16_t>() % elements.size()];
                e->m_caretOffset = fdp.ConsumeIntegralInRange<long>(-2, 12);
                engine.m_doc.m_pointerElement = e;
                engine.OnLButtonDblClk(2, CPoint(h, v));
            }
            break;
        }
        case 4: {
            const std::vector<unsigned short> units = qmfuzz::ConsumeU16(fdp, 6);
            engine.MacUnicodeInput(units.data(), fdp.ConsumeBool() ? 0 : int(units.size()));
            break;
        }
        default: {
            const std::vector<CElement*> elements = Elements(engine);
            if (!elements.empty() && fdp.ConsumeBool()) {
                CElement* e = elements[fdp.ConsumeIntegral<std::uint16_t>() % elements.size()];
                engine.m_doc.m_caretElement = e;
                e->m_caretOffset = fdp.ConsumeIntegralInRange<long>(-2, 12);
            }
            engine.OnTimer(1);
            break;
        }
        }
        CElement* caret = engine.m_doc.m_caretElement;
        if (caret && !engine.m_doc.IsElementExist(caret))
            std::abort();
    }
    input = qm::events::InputState();
    g_IsSafara = 0;
    return 0;
}
