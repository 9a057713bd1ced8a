// Documents from fuzzed markup and style sheets laid out at a fuzzed width and
// painted into the offscreen bitmap, then edited: one element moves or
// changes size, or a text run takes new text (laid out again through its
// notification) or a selection, and the partial repaint must leave the
// bitmap exactly as a full paint of the edited tree does; after new text the
// boxes must be those a whole layout gives. The sheet is the page's sheet.
// Take -dict=fuzz/css_sheet.dict for the words of the sheet.

#include "fuzz/FakeNetwork.h"
#include "fuzz/FuzzText.h"
#include "fuzz/FuzzTree.h"

#include "document/XDoc.h"
#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "platform/cg/Context.h"
#include "style/layout/BoxDump.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"

#include <string>
#include <vector>

namespace {

// Rows and columns compared after an edit: enough for the documents the
// fuzzer makes. A document can be laid out millions of pixels wide (a table
// border clamped at its largest); reading every column of it would make the
// whole width resident, gigabytes, where the view only ever holds what shows.
constexpr int kRowsCompared = 400;
constexpr int kColumnsCompared = 2048;

std::vector<unsigned> Pixels(const CElement* body)
{
    std::vector<unsigned> out;
    const qm::cg::Context* ctx = body->m_dc.get();
    for (int row = 0; ctx && row < kRowsCompared && row < ctx->Height(); ++row) {
        for (int x = 0; x < kColumnsCompared && x < ctx->Width(); ++x) {
            const qm::cg::Pixel p = ctx->ReadPixel(x, row);
            out.push_back(
                unsigned(p.red) | unsigned(p.green) << 8 | unsigned(p.blue) << 16 | unsigned(p.alpha) << 24);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Pictures of images and backgrounds are never fetched from the network:
    // every request fails at once.
    static qmfuzz::FakeNetwork offline;
    static qmfuzz::ScopedNetwork scope(offline);
    offline.Restart();
    FuzzedDataProvider fdp(data, size);
    const int width = fdp.ConsumeIntegralInRange(0, 300);
    const size_t pick = fdp.ConsumeIntegral<uint16_t>();
    const int dx = fdp.ConsumeIntegralInRange(-20, 20), dy = fdp.ConsumeIntegralInRange(-20, 20);
    const int dh = fdp.ConsumeIntegralInRange(-20, 20);
    const std::vector<unsigned short> sheet = qmfuzz::Widen(qmfuzz::ConsumeBytes(fdp, 1500));
    const std::string markup = qmfuzz::ConsumeBytes(fdp, 4000);
    // What the edit is: 0 moves or resizes, 1 new text, 2 a selection (inputs
    // that end with the markup move).
    const int kind = fdp.ConsumeIntegralInRange(0, 2);
    const long selStart = fdp.ConsumeIntegralInRange(-2, 60), selEnd = fdp.ConsumeIntegralInRange(-2, 60);
    const std::string typed = qmfuzz::ConsumeBytes(fdp, 60);

    CXHTML engine;
    engine.m_doc.LoadStyleClass(sheet.data(), 0, false, 0);
    CMarkupDocument document(&engine);
    CSafeBuf error;
    if (!document.Read(markup.data(), markup.size(), error) || !document.Body())
        return 0;
    CElement* body = document.Body();
    if (!LayoutDocument(body, width) || !RepaintDocument(body))
        return 0;
    ShowDocumentRows(body, 0, 100);

    const std::vector<CElement*> elements = qmfuzz::ElementsBelow(body);
    if (elements.empty())
        return 0;
    CElement* edited = elements[pick % elements.size()];
    CTextElement* run = dynamic_cast<CTextElement*>(edited);
    if (kind == 1 && run) {
        run->m_text = typed.c_str();
        run->SendNotification(2);
    } else if (kind == 2 && run) {
        run->m_selected = 1;
        run->m_selStart = selStart;
        run->m_selEnd = selEnd;
        if (!body->FastDraw())
            return 0;
    } else {
        edited->Lay().m_position.x += dx;
        edited->Lay().m_position.y += dy;
        if (edited->Lay().m_sizeRect.bottom + dh >= edited->Lay().m_sizeRect.top)
            edited->Lay().m_sizeRect.bottom += dh;
        if (!body->FastDraw())
            return 0;
    }
    const std::vector<unsigned> partial = Pixels(body);
    QM_FUZZ_CHECK(RepaintDocument(body));
    QM_FUZZ_CHECK(partial == Pixels(body));
    if (kind == 1 && run) {
        // The lines made again after the edit are those of a whole layout.
        CSafeBuf partialBoxes, wholeBoxes;
        GetBoxDump(body, partialBoxes);
        QM_FUZZ_CHECK(LayoutDocument(body, width));
        GetBoxDump(body, wholeBoxes);
        QM_FUZZ_CHECK(partialBoxes == wholeBoxes);
    }
    return 0;
}
