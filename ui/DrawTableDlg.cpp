// The table-size picker. The size is what the driver (or the person in
// front of the window) leaves in the two fields when it presses Insert.

#include "ui/DrawTableDlg.h"

#include "platform/events/Event.h"

#include <utility>

CDrawTableDlg::CDrawTableDlg(Sink sink) : CDialog("table-size"), m_sink(std::move(sink))
{
    m_handler
        = DialogTarget().InstallHandler({{qm::events::kEventClassCommand, qm::events::kEventCommandProcess}},
            [this](const qm::events::NextHandler&, qm::events::Event& e) {
                if (!IsOpen())
                    return qm::events::kEventNotHandledErr;
                std::uint32_t command = 0;
                if (!e.GetParam(qm::events::kParamCommandId, command))
                    return qm::events::kEventNotHandledErr;
                return OnCommand(command);
            });
}

CDrawTableDlg::~CDrawTableDlg()
{
    DialogTarget().RemoveHandler(m_handler);
    m_sink = nullptr; // a close from here on tells nobody
}

void CDrawTableDlg::SetPosition(int left, int top)
{
    m_left = left;
    m_top = top;
    GetWindowRef().MoveTo(left, top);
}

int CDrawTableDlg::ParseSide(const std::string& text)
{
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const int n = std::stoi(text);
    return n > kMaxSide ? kMaxSide : n;
}

void CDrawTableDlg::OnInitDialog()
{
    qm::ui::ModalDialog& d = Dialog();
    d.texts = {m_kind == 1 ? "Data table" : "Layout table"};
    d.fields = {{"rows", "0"}, {"columns", "0"}};
    d.buttons = {{"Insert", kCommandInsert}, {"Cancel", kCommandCancel}};
    d.defaultButton = 0;
}

void CDrawTableDlg::OnWindowClose() { Finish(static_cast<unsigned int>(m_kind) | kClosed, 0); }

int CDrawTableDlg::OnCommand(std::uint32_t command)
{
    const unsigned int kind = static_cast<unsigned int>(m_kind);
    if (command == kCommandInsert) {
        const std::string* rows = Dialog().Field("rows");
        const std::string* columns = Dialog().Field("columns");
        const unsigned int r = static_cast<unsigned int>(ParseSide(rows ? *rows : std::string()));
        const unsigned int c = static_cast<unsigned int>(ParseSide(columns ? *columns : std::string()));
        Finish(kind, r << 8 | c);
        return qm::events::kNoErr;
    }
    if (command == kCommandCancel) {
        Finish(kind | kClosed | kShowCaret, 0);
        return qm::events::kNoErr;
    }
    return qm::events::kEventNotHandledErr;
}

void CDrawTableDlg::Finish(unsigned int wParam, unsigned int lParam)
{
    EndDialog(0);
    // Nothing of the picker is touched once the owner has the message.
    const Sink sink = m_sink;
    if (sink)
        sink(kMessage, wParam, lParam);
}
