#pragma once
// A markup source view on a window of its own, with browser event records
// to drive it and the scripted UI driver to answer what it shows.

#include "base/text/SafeBuf.h"
#include "platform/dnd/Pasteboard.h"
#include "platform/events/Services.h"
#include "platform/input/KeyLayout.h"
#include "platform/np/EventRecord.h"
#include "platform/np/Window.h"
#include "platform/ui/Window.h"
#include "source_view/ColoringEditor.h"

#include "tests/common/ScriptedUiDriver.h"
#include "tests/common/TextHelpers.h"

#include <memory>
#include <string>

namespace qmtest {

class SourceViewTest : public ScriptedUiTest
{
protected:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 360;

    SourceViewTest()
    {
        window.SetSize(kWidth, kHeight);
        port.port = window.Port();
        port.portx = port.porty = 0;
        record.window = &port;
        record.x = record.y = 0;
        record.width = kWidth;
        record.height = kHeight;
        record.clipRect = NPRect{0, 0, kHeight, kWidth};
        record.type = NPWindowTypeDrawable;
        view = std::make_unique<CColoringEditor>(&record);
        view->m_viewRect = CRect(0, 0, kWidth, kHeight);
        view->ChangeFont(13, 0, Wide(u"Courier"));
        view->SetFocus();
        qm::events::Services::Get().Pasteboards().Clipboard().Clear();
    }

    void Set(const std::string& utf8) { view->SetText(FromUtf8(utf8)); }
    // The text as UTF-8, with markers when asked.
    std::string Text(bool markers = false) const
    {
        CSafeBuf out;
        view->GetText(out, markers);
        return Utf8(out);
    }

    int Send(std::uint16_t what, std::uint32_t message = 0, int h = 0, int v = 0, std::uint16_t modifiers = 0)
    {
        EventRecord e{what, message, 0,
            qm::qd::Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}, modifiers};
        return view->HandleEvent(&e);
    }
    int Key(std::uint8_t virtualKey, unsigned char ch = 0, std::uint16_t modifiers = 0)
    {
        return Send(keyDown, static_cast<std::uint32_t>(virtualKey) << 8 | ch, 0, 0, modifiers);
    }
    // Types printable ASCII through key-down events.
    void Type(const std::string& ascii)
    {
        for (const char c : ascii)
            Key(0, static_cast<unsigned char>(c));
    }
    // The view point of a text position (the middle of its row).
    CPoint At(int pos) const
    {
        CPoint p = view->PointFromPos(pos);
        p.y += view->LineHeight() / 2;
        return p;
    }

    qm::ui::Window window{"Source"};
    NP_Port port{};
    NPWindow record{};
    std::unique_ptr<CColoringEditor> view;
};

constexpr std::uint16_t kShift = 0x0200;
constexpr std::uint16_t kCommand = 0x0100;

} // namespace qmtest
