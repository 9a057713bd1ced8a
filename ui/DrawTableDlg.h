#pragma once
// CDrawTableDlg: the table-size picker that opens under the layout-table and
// data-table buttons. It is shown without a modal loop: the user goes on
// seeing the document while it is open, and the driver answers it at any
// time by setting its "rows" and "columns" fields and pressing "Insert", by
// pressing "Cancel", or by closing its window.
//
// Whatever ends it, it closes itself first and then hands its owner one
// message (kMessage) through the sink it was made with:
//   a size:          wParam = kind, lParam = rows << 8 | columns (each 0-255)
//   Cancel:          wParam = kind | kClosed | kShowCaret (the user turns back
//                    to the document, whose caret shows again)
//   window closed:   wParam = kind | kClosed
// Deleting a picker that is still open closes it without a message. The
// owner must not delete the picker while it handles the message (the
// picker's handler is still running then); it keeps it until it opens the
// next one or ends itself.

#include "ui/Dialog.h"

#include <cstdint>
#include <functional>
#include <string>

class CDrawTableDlg : public CDialog
{
public:
    static constexpr unsigned int kMessage = 1100;
    static constexpr unsigned int kClosed = 0x100;
    static constexpr unsigned int kShowCaret = 0x200;
    static constexpr int kMaxSide = 255;

    static constexpr std::uint32_t kCommandInsert = qm::events::FourCC("tins");
    static constexpr std::uint32_t kCommandCancel = qm::events::FourCC("tcnl");

    // Where the messages go: (message, wParam, lParam).
    using Sink = std::function<void(unsigned int, unsigned int, unsigned int)>;

    explicit CDrawTableDlg(Sink sink);
    ~CDrawTableDlg() override;

    // The dialog's top-left corner in screen coordinates.
    void SetPosition(int left, int top);
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    // 0 layout table, 1 data table; carried in the low byte of wParam.
    void SetTableKind(int kind) { m_kind = kind & 0xFF; }
    int TableKind() const { return m_kind; }

    // The size as the fields give it: a decimal number, cut to 0-255;
    // anything else is 0.
    static int ParseSide(const std::string& text);

protected:
    void OnInitDialog() override;
    void OnWindowClose() override;

private:
    int OnCommand(std::uint32_t command);
    // Closes the picker, then sends the message (once).
    void Finish(unsigned int wParam, unsigned int lParam);

    Sink m_sink;
    qm::events::HandlerId m_handler = 0;
    int m_left = 0;
    int m_top = 0;
    int m_kind = 0;
};
