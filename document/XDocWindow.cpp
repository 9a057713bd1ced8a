// What the document's view shows in the window beside the document: help
// tags, the pointer shape, the caret's place on the screen for dialogs, and
// the toolbar buttons it asks the control about.

#include "document/XDoc.h"
#include "element/services/ControlServices.h"

#include "platform/events/UiDriver.h"
#include "platform/qd/Cursor.h"
#include "platform/qd/Port.h"
#include "platform/ui/HelpTag.h"

#include <string>

namespace {

// A document point shown in the view, in global coordinates: the view's
// local point converted through the drawing port (as it stands without a
// port).
CPoint ToGlobal(const CXDoc& doc, long x, long y)
{
    qm::qd::Point pt{static_cast<std::int16_t>(y), static_cast<std::int16_t>(x)};
    if (!qm::qd::IsLivePort(doc.m_port))
        return CPoint(int(x), int(y));
    doc.m_port->LocalToGlobal(pt);
    return CPoint(pt.h, pt.v);
}

std::string Utf8(const CSafeBuf& text)
{
    char* bytes = nullptr;
    const int length = text.CreateUTF8Str(&bytes);
    std::string out(bytes ? bytes : "", bytes && length > 0 ? static_cast<size_t>(length) : 0);
    delete[] bytes;
    return out;
}

} // namespace

void CXDoc::DisplayTooltip(CPoint pt, const unsigned short* text, bool left)
{
    try {
        CPoint at = ToGlobal(*this, pt.x - m_scrollX, pt.y - m_scrollY + 20);
        if (left)
            at.x -= 40;
        m_tooltipText = CSafeBuf(text); // null: empty
        qm::events::HelpTag tag;
        tag.text = Utf8(m_tooltipText);
        tag.left = int(at.x);
        tag.top = int(at.y);
        tag.right = int(at.x) + 20;
        tag.bottom = int(at.y) + 20;
        qm::ui::ShowHelpTag(tag);
    } catch (...) {
        WriteExcpInfo("DisplayTooltip");
    }
}

void CXDoc::DisplayTooltip(CPoint pt, const char* text, bool left)
{
    CSafeBuf wide;
    wide.AssignUTF8(text ? text : "");
    DisplayTooltip(pt, static_cast<const unsigned short*>(wide), left);
}

void CXDoc::HideTooltip(bool) { qm::ui::HideHelpTag(); }

void CXDoc::GetCurPos(CPoint& out)
{
    out = ToGlobal(*this, m_caretPoint.x - m_scrollX, m_caretPoint.y - m_scrollY);
    out.y += 50;
}

void CXDoc::RestoreCursor() { qm::qd::SetCursor(m_cursors.arrow); }

int CXDoc::ToolEnableButton(int kind, unsigned int id, bool enable, bool byKind)
{
    CControlServices* control = Control();
    return control ? control->ToolEnableButton(kind, id, enable, byKind) : 0;
}

int CXDoc::ToolCheckButton(int kind, unsigned int id, bool check, bool byKind)
{
    CControlServices* control = Control();
    return control ? control->ToolCheckButton(kind, id, check, byKind) : 0;
}

int CXDoc::ToolIsButtonEnabled(int kind, unsigned int id, bool byKind)
{
    CControlServices* control = Control();
    return control ? control->ToolIsButtonEnabled(kind, id, byKind) : 0;
}

int CXDoc::ToolIsButtonChecked(int kind, unsigned int id, bool byKind)
{
    CControlServices* control = Control();
    return control ? control->ToolIsButtonChecked(kind, id, byKind) : 0;
}

void CXDoc::SetClipButton(bool enable, int code)
{
    if (code >= 1 && code <= kClipRedo) {
        ToolEnableButton(kFirstClipKind + code, 0, enable, true);
    } else if (code == 0) {
        for (int c = 1; c <= kClipRedo; ++c)
            ToolEnableButton(kFirstClipKind + c, 0, enable, true);
    }
}
