#include "source_view/ColoringEditor.h"

#include "platform/text/TextStyle.h"
#include "source_view/DragToken.h"
#include "source_view/SourceMarkers.h"

CColoringEditor::CColoringEditor(NPWindow* window)
    : m_window(window),
      m_style(std::make_unique<qm::text::Style>()),
      m_fontName("Courier"),
      m_dragToken(NewDragToken())
{
    MeasureFont();
}

CColoringEditor::~CColoringEditor() = default;

void CColoringEditor::SetText(const unsigned short* text)
{
    int length = 0;
    while (text && text[length])
        ++length;
    std::vector<unsigned short> plain;
    const SourceMarkerPlaces places = RemoveSourceMarkers(text, length, plain);
    m_text.Assign(plain.data(), static_cast<int>(plain.size()));
    m_markedStart = -1;
    m_markedLength = 0;
    m_dropCaret = -1;
    m_goalColumn = -1;
    m_topRow = m_leftColumn = 0;
    if (places.begins >= 0 && places.ends >= 0) {
        // The caret is at the end the cursor marker names; a selection
        // without one runs forward.
        const bool backward
            = places.cursor >= 0 && places.cursor == places.begins && places.begins != places.ends;
        SetSelection(backward ? places.ends : places.begins, backward ? places.begins : places.ends);
    } else if (places.cursor >= 0) {
        SetSelection(places.cursor, places.cursor);
    } else {
        const int at = places.begins >= 0 ? places.begins : (places.ends >= 0 ? places.ends : 0);
        SetSelection(at, at);
    }
    InitUndo();
    UpdateWrap();
    ScrollToCaret();
    Redraw();
}

void CColoringEditor::GetText(CSafeBuf& out, bool markers) const
{
    if (markers) {
        // Markers only where reading the text back takes them for markers:
        // never inside a tag or a reference, nor outside the document.
        const int caret = MarkerPlace(m_text.Data(), m_text.Length(), m_caret);
        const int anchor = MarkerPlace(m_text.Data(), m_text.Length(), m_anchor);
        if (caret >= 0) {
            InsertSourceMarkers(m_text.Data(), m_text.Length(), anchor < 0 ? caret : anchor, caret, out);
            return;
        }
    }
    out.Empty();
    out.Append(m_text.Data(), m_text.Length());
}

void CColoringEditor::InsertText(const unsigned short* text, bool, bool)
{
    int length = 0;
    while (text && text[length])
        ++length;
    ReplaceSelection(text, length, false);
}

void CColoringEditor::SetSelection(int anchor, int caret)
{
    auto fit = [this](int pos) {
        pos = std::clamp(pos, 0, m_text.Length());
        // Never between the CR and the LF of a line break, nor between the
        // halves of a surrogate pair.
        if (pos > 0 && pos < m_text.Length() && m_text.NextPos(m_text.PreviousPos(pos)) != pos)
            pos = m_text.PreviousPos(pos);
        return pos;
    };
    m_anchor = fit(anchor);
    m_caret = fit(caret);
}

void CColoringEditor::SizeChanged(int, int)
{
    UpdateWrap();
    ClampScroll();
    Redraw();
}

void CColoringEditor::ChangeFont(int size, int, const unsigned short* name)
{
    if (size > 0)
        m_fontSize = size;
    if (name && *name)
        m_fontName = name;
    MeasureFont();
    UpdateWrap();
    ClampScroll();
    Redraw();
}

void CColoringEditor::EnableLineNumber(bool on)
{
    m_lineNumbers = on;
    UpdateWrap();
    Redraw();
}

void CColoringEditor::SetWrapMode(bool on)
{
    m_wordWrap = on;
    if (on)
        m_leftColumn = 0;
    UpdateWrap();
    ScrollToCaret();
    Redraw();
}

void CColoringEditor::SetFocus()
{
    m_focused = true;
    Redraw();
}

void CColoringEditor::KillFocus()
{
    m_focused = false;
    Redraw();
}

void CColoringEditor::SwitchingView()
{
    m_tracking = false;
    m_markedStart = -1;
    m_markedLength = 0;
    m_undo.BreakTyping();
    HideDragCursor(false);
}
