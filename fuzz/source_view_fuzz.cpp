// The markup source view fed outside text: a source text (with marker
// words), pasteboard text of any byte length and drops whose flavours
// ('utxt', 'QMD1') carry any bytes, mixed with keys, word wrap and undo.
// Checks: the rows and lines always match a fresh reading of the text, the
// caret and selection stay inside it, and undoing every step gives back the
// text the view was given.

#include "fuzz/FuzzText.h"

#include "base/shims/Pasteboard.h"
#include "platform/dnd/DragSession.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"
#include "platform/ui/Window.h"
#include "source_view/ColoringEditor.h"

#include <cstdlib>
#include <vector>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckTables(const CColoringEditor& view)
{
    const CSourceText& t = view.Text();
    CSourceText fresh;
    fresh.SetWrapColumns(t.WrapColumns());
    fresh.Assign(t.Data(), t.Length());
    Check(fresh.LineCount() == t.LineCount() && fresh.RowCount() == t.RowCount());
    for (int r = 0; r < t.RowCount(); ++r)
        Check(fresh.RowStart(r) == t.RowStart(r));
    Check(
        view.Caret() >= 0 && view.Caret() <= t.Length() && view.Anchor() >= 0 && view.Anchor() <= t.Length());
}

std::vector<std::uint8_t> Bytes(FuzzedDataProvider& fdp, std::size_t max)
{
    return fdp.ConsumeBytes<std::uint8_t>(fdp.ConsumeIntegralInRange<std::size_t>(0, max));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider fdp(data, size);
    static qm::ui::Window window("Source");
    static bool sized = window.SetSize(240, 120);
    (void)sized;
    NP_Port port{window.Port(), 0, 0};
    NPWindow record{&port, 0, 0, 240, 120, NPRect{0, 0, 120, 240}, NPWindowTypeDrawable};
    CColoringEditor view(&record);
    view.m_viewRect = CRect(0, 0, 240, 120);
    view.SetFocus();
    view.SetWrapMode(fdp.ConsumeBool());

    const std::vector<unsigned short> source = qmfuzz::ConsumeU16(fdp, 400);
    view.SetText(source.data());
    CSafeBuf given;
    view.GetText(given, false);
    CheckTables(view);

    qm::dnd::Pasteboard& board = qm::events::Services::Get().Pasteboards().Clipboard();
    for (int step = 0; step < 20 && fdp.remaining_bytes() > 0; ++step) {
        switch (fdp.ConsumeIntegralInRange<int>(0, 7)) {
        case 0: { // pasteboard text of any length, odd byte counts too
            const auto bytes = Bytes(fdp, 64);
            board.Clear();
            board.PutItemFlavor(1, "public.utf16-plain-text", bytes.data(), bytes.size());
            view.OnPaste();
            break;
        }
        case 1: { // a drop from elsewhere with any flavour bytes
            qm::dnd::DragSession drag;
            const auto text = Bytes(fdp, 64);
            const auto token = Bytes(fdp, 6);
            drag.AddFlavor(1, kFlavorUnicodeText, text.data(), text.size());
            if (fdp.ConsumeBool())
                drag.AddFlavor(1, kFlavorEditorTag, token.data(), token.size());
            view.ReceiveDrop(drag,
                CPoint(fdp.ConsumeIntegralInRange<int>(-20, 260), fdp.ConsumeIntegralInRange<int>(-20, 140)));
            break;
        }
        case 2: {
            EventRecord e{keyDown, fdp.ConsumeIntegral<std::uint16_t>(), 0, qm::qd::Point{0, 0},
                fdp.ConsumeIntegral<std::uint16_t>()};
            // Not the clipboard shortcuts' undo: undo is checked at the end.
            if ((e.modifiers & 0x0100) && ((e.message >> 8) & 0xFF) == qm::input::kVK_ANSI_Z)
                e.modifiers = 0;
            view.HandleEvent(&e);
            break;
        }
        case 3: {
            EventRecord e{static_cast<std::uint16_t>(fdp.ConsumeIntegralInRange<int>(0, 2)), 0, 0,
                qm::qd::Point{fdp.ConsumeIntegral<std::int16_t>(), fdp.ConsumeIntegral<std::int16_t>()},
                fdp.ConsumeIntegral<std::uint16_t>()};
            view.HandleEvent(&e);
            break;
        }
        case 4: {
            const std::vector<unsigned short> typed = qmfuzz::ConsumeU16(fdp, 8);
            view.MacUnicodeInput(typed.data(), fdp.ConsumeIntegralInRange<int>(0, 1));
            break;
        }
        case 5: view.OnWordWrap(); break;
        case 6: view.SetSelection(fdp.ConsumeIntegral<int>(), fdp.ConsumeIntegral<int>()); break;
        case 7: view.OnCut(); break;
        }
        CheckTables(view);
    }
    while (view.CanUndo())
        view.OnUndo();
    CSafeBuf back;
    view.GetText(back, false);
    Check(back == given);
    CheckTables(view);
    return 0;
}
