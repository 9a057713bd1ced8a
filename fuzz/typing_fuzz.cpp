// Keys typed into documents from fuzzed markup laid out at a fuzzed width:
// the caret goes into a text run picked by the input, then characters,
// Return, Backspace, Delete and the arrows (with and without Option) arrive
// as the input says, and so does any UTF-16 unit (noncharacters, halves of
// surrogate pairs, control codes). After each key the caret element is live;
// at the end a layout that keeps the blocks the keys did not reach places
// every box as one that keeps nothing, and the written markup reads back.
// Take -dict=fuzz/xml.dict.

#include "fuzz/FuzzText.h"
#include "fuzz/FuzzTree.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "platform/events/Services.h"
#include "style/layout/BoxDump.h"
#include "style/layout/LayoutPass.h"
#include "style/layout/LayoutReuse.h"
#include "style/paint/OffscreenView.h"

#include <string>
#include <vector>

namespace {

const unsigned int kKeys[] = {'x', ' ', 0xA0, 0x4E2D, 13, 8, 127, 28, 29};
constexpr unsigned int kKeyCount = sizeof kKeys / sizeof kKeys[0];

// A key byte (bit 0x80: Option held) picks one of the keys above, except
// that from 0x70 up it is followed by the two bytes of any unit, low first.
constexpr unsigned int kAnyUnit = 0x70;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    const int width = fdp.ConsumeIntegralInRange(0, 400);
    const size_t pick = fdp.ConsumeIntegral<uint16_t>();
    const long offset = fdp.ConsumeIntegralInRange(-1, 40);
    const std::string keys = fdp.ConsumeRandomLengthString(40);
    const std::string markup = fdp.ConsumeRemainingBytesAsString();

    CXHTML engine;
    CMarkupDocument document(&engine);
    CSafeBuf error;
    if (!document.Read(markup.data(), markup.size(), error) || !document.Body())
        return 0;
    CElement* body = document.Body();
    if (!LayoutDocument(body, width) || !RepaintDocument(body))
        return 0;

    std::vector<CElement*> runs;
    for (CElement* e : qmfuzz::ElementsBelow(body)) {
        if (e->IsTextElement())
            runs.push_back(e);
    }
    if (runs.empty())
        return 0;
    CElement* caret = runs[pick % runs.size()];
    caret->m_caretOffset = offset;
    engine.m_doc.m_caretElement = caret;

    qm::events::InputState& input = qm::events::Services::Get().Input();
    for (size_t i = 0; i < keys.size(); ++i) {
        const unsigned char k = static_cast<unsigned char>(keys[i]);
        unsigned int code = kKeys[k % kKeyCount];
        if ((k & 0x7F) >= kAnyUnit && i + 2 < keys.size()) {
            code = static_cast<unsigned char>(keys[i + 1]) | static_cast<unsigned char>(keys[i + 2]) << 8;
            i += 2;
        }
        CElement* e = engine.m_doc.m_caretElement;
        if (!e)
            break;
        input.modifiers = (k & 0x80) ? qm::events::kModOption : 0;
        bool flag = false;
        CPoint point;
        int length = 0;
        CElement* moved = nullptr;
        e->OnChar(code, 1, 0, flag, point, length, moved, false);
        if (moved) {
            QM_FUZZ_CHECK(engine.m_doc.IsElementExist(moved));
            engine.m_doc.m_caretElement = moved;
        }
        engine.m_doc.ReleaseRemovedElements();
        QM_FUZZ_CHECK(
            !engine.m_doc.m_caretElement || engine.m_doc.IsElementExist(engine.m_doc.m_caretElement));
    }
    input.modifiers = 0;

    // A layout after the keys keeps the blocks they did not reach: it must
    // place every box where a layout that keeps nothing does.
    if (LayoutDocument(body, width)) {
        CSafeBuf kept, fresh;
        GetBoxDump(body, kept);
        ForgetKeptLayouts(body);
        QM_FUZZ_CHECK(LayoutDocument(body, width));
        GetBoxDump(body, fresh);
        QM_FUZZ_CHECK(kept == fresh);
    }

    CSafeBuf out;
    document.Write(out, 0);
    CMarkupDocument again(&engine);
    char* bytes = nullptr;
    const int n = out.CreateUTF8Str(&bytes);
    const std::string written(bytes, static_cast<size_t>(n > 0 ? n : 0));
    delete[] bytes;
    QM_FUZZ_CHECK(again.Read(written.data(), written.size(), error));
    return 0;
}
