#pragma once
// CColoringEditor: the markup source view, a plain-text editor for the
// document's markup drawn on the plug-in window in one fixed-pitch font,
// with tags, attributes, values and comments coloured.
//
// The control places it with its window record (m_window, m_viewRect in the
// plug-in area's coordinates) and hands it browser events whose points it
// has moved into the view's coordinates (0, 0 the view's top-left corner).
// The view keeps its own text (CSourceText), caret and selection, undo
// history, vertical scroll bar and find dialog. What it needs of the control
// (the page's custom element lists, the Validate and Indent services) it
// reaches through m_control; without a control those tools work on their
// own (see the tools' comments).
//
// Positions are indices of UTF-16 units in the text. The selection is the
// range between the anchor and the caret; they are equal when nothing is
// selected.
//
// The class is split by concern over several files: ColoringEditor.cpp
// (text, markers, caret), ColoringEditorDraw.cpp (drawing and colours),
// ColoringEditorInput.cpp (events, keys, mouse, scrolling),
// ColoringEditorEdit.cpp (clipboard and undo), ColoringEditorTools.cpp
// (tools, find and replace) and ColoringEditorDrag.cpp (drag and drop).

#include "base/geometry/Point.h"
#include "base/geometry/Rect.h"
#include "base/text/SafeBuf.h"
#include "source_view/SourceText.h"
#include "source_view/SourceUndo.h"
#include "source_view/SyntaxColour.h"
#include "ui/FindReplaceDlg.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

struct EventRecord;
struct NPWindow;
class CControlServices;
class CXHTMLServices;
namespace qm::cg {
class Context;
}
namespace qm::dnd {
class DragSession;
}
namespace qm::text {
class Style;
class Layout;
} // namespace qm::text

class CColoringEditor : public CFindReplaceTarget
{
public:
    // Toolbar button kinds whose checked state the view's toggles keep.
    static constexpr int kButtonWhitespace = 36;
    static constexpr int kButtonDimTags = 37;
    static constexpr int kButtonWordWrap = 38;
    // Width of the view's own vertical scroll bar.
    static constexpr int kScrollBarWidth = 15;

    explicit CColoringEditor(NPWindow* window);
    ~CColoringEditor() override;
    CColoringEditor(const CColoringEditor&) = delete;
    CColoringEditor& operator=(const CColoringEditor&) = delete;

    // ---- fields the control sets ----
    NPWindow* m_window = nullptr;          // the plug-in's window record
    CRect m_viewRect;                      // the view within the plug-in area
    CControlServices* m_control = nullptr; // the owning control, may be null
    CXHTMLServices* m_engine = nullptr;    // the control's engine (Indent), may be null

    // ---- text ----
    // Replaces the text (no undo step; the history starts afresh). The
    // marker words in it are removed and place the caret and selection; the
    // caret goes to the start without them.
    void SetText(const unsigned short* text);
    // The text, with the marker words at the caret and selection when asked.
    void GetText(CSafeBuf& out, bool markers) const;
    // Inserts text unchanged at the caret, replacing the selection; one undo
    // step. The flags are the engine's and change nothing here.
    void InsertText(const unsigned short* text, bool, bool);
    int TextLength() const { return m_text.Length(); }
    const CSourceText& Text() const { return m_text; }

    // ---- caret and selection ----
    int Caret() const { return m_caret; }
    int Anchor() const { return m_anchor; }
    int SelectionStart() const { return std::min(m_anchor, m_caret); }
    int SelectionEnd() const { return std::max(m_anchor, m_caret); }
    bool HasSelection() const { return m_anchor != m_caret; }
    // Both are cut to the text and kept off the inside of CR LF pairs.
    void SetSelection(int anchor, int caret);

    // ---- layout and look ----
    // The window record changed: rows are wrapped and the view drawn again.
    void SizeChanged(int height, int);
    // The font: size in pixels and family name (the control passes 13 and
    // "Courier"); the flags are not used.
    void ChangeFont(int size, int, const unsigned short* name);
    void EnableLineNumber(bool on);
    void SetWrapMode(bool on);
    void SetFocus();
    void KillFocus();
    bool HasFocus() const { return m_focused; }
    // The view is about to be left or entered: ends mouse tracking and a
    // pending input composition.
    void SwitchingView();
    // Draws the view into the window's port (when it has one).
    void Redraw();
    // Draws into a context whose y-up user space has the port's bottom-left
    // corner at (0, 0), the port being portHeight pixels tall.
    void Draw(qm::cg::Context& context, int portHeight);

    // ---- events ----
    // One browser event in view coordinates; 1 when used.
    int HandleEvent(EventRecord* event);
    // Typed text, one unit at a time; with fixed 0 the text is provisional:
    // the caret steps back in front of it and the next input replaces it.
    void MacUnicodeInput(const unsigned short* text, int fixed);
    // Scroll codes: 2 to value (rows or columns), 4/5 a row down/up, 6/7 a
    // page down/up, 11/12 a column left/right, 13/14 a page left/right.
    void OnVScroll(int code, int value, void* bar);
    void OnHScroll(int code, int value, void* bar);
    int TopRow() const { return m_topRow; }
    int LeftColumn() const { return m_leftColumn; }
    int VisibleRows() const;
    int VisibleColumns() const;

    // ---- clipboard and undo ----
    void OnCopy();
    void OnCut();
    void OnPaste();
    void OnUndo();
    void OnRedo();
    bool CanUndo() const { return m_undo.CanUndo(); }
    bool CanRedo() const { return m_undo.CanRedo(); }
    void InitUndo();

    // ---- tools ----
    // Validates the text (without markers) as XML and shows the outcome:
    // through the control's Validate service, or directly without a control.
    void OnValidate();
    void OnWhitespace();
    void OnDimTags();
    void OnWordWrap();
    // Re-indents the text through the engine's markup writer when it
    // parses; otherwise (or without an engine) leaves it and answers false.
    // One undo step.
    bool OnIndent();
    bool IsWhitespaceShown() const { return m_showWhitespace; }
    bool IsDimTags() const { return m_dimTags; }
    bool IsWordWrap() const { return m_wordWrap; }
    // The checked state of button kind 36, 37 or 38; false for any other.
    bool IsToolChecked(int kind) const;
    // Opens the find and replace dialog, or brings the open one forward.
    void DoFindReplace(bool replace);
    CFindReplaceDlg* FindDialog() const { return m_findDialog.get(); }
    // Whether the element name is one the editor knows or the page listed
    // among its custom elements.
    bool IsValidHTMLTag(const unsigned short* name, int length) const;

    // ---- CFindReplaceTarget ----
    bool FindNext(const CSafeBuf& what, bool matchCase, bool down) override;
    bool ReplaceCurrent(const CSafeBuf& what, const CSafeBuf& with, bool matchCase) override;
    int ReplaceAll(const CSafeBuf& what, const CSafeBuf& with, bool matchCase) override;

    // ---- drag and drop ----
    // The drop caret at the position under a view point; true when a drop
    // there is refused (inside the selection this view is dragging).
    bool MoveDrag(CPoint point);
    // Removes the drop caret; with showCaret the caret shows again.
    void HideDragCursor(bool showCaret);
    // Drops text at the drop caret; own (a move) deletes the dragged
    // selection first. One undo step. False when nothing was dropped.
    bool DragTextTo(const unsigned short* text, bool own);
    // A whole drop: the drop caret at point, the drag's text ('utxt') and
    // whether it is this editor's own drag ('QMD1' carries this view's
    // token). False when the drop is refused or brings no text.
    bool ReceiveDrop(qm::dnd::DragSession& drag, CPoint point);
    // Starts dragging the selection: a drag with 'QMD1' (the token) and
    // 'utxt' (the selected text) handed to the UI driver. Answers the
    // driver's result.
    int StartDrag();
    std::uint32_t DragToken() const { return m_dragToken; }
    // The engine's token, so that its two views mark their drags alike.
    void SetDragToken(std::uint32_t token) { m_dragToken = token ? token : m_dragToken; }
    bool IsDragging() const { return m_dragging; }
    int DropCaret() const { return m_dropCaret; }

    // ---- geometry (view coordinates) ----
    int LineHeight() const { return m_lineHeight; }
    double CharWidth() const { return m_charWidth; }
    int GutterWidth() const;
    // The text position nearest a view point, and the point of a position
    // (the top of its row, at its column).
    int PosFromPoint(CPoint point) const;
    CPoint PointFromPos(int pos) const;

private:
    // ---- editing (ColoringEditor.cpp, ColoringEditorEdit.cpp) ----
    // Replaces the selection by text as one undo step (typing steps may
    // join); answers false when nothing changed.
    bool ReplaceSelection(const unsigned short* text, int length, bool typing);
    // Applies an edit to the text and records it into step.
    void ApplyEdit(SourceUndoStep& step, int pos, int count, const unsigned short* text, int length);
    void Commit(SourceUndoStep& step, bool typing);
    void ApplyStep(const SourceUndoStep& step, bool undo);
    void CopySelection() const;

    // ---- layout (ColoringEditorDraw.cpp) ----
    void MeasureFont();
    void UpdateWrap();
    void ScrollToCaret();
    void ClampScroll();
    CRect TextRect() const;      // the area the rows are drawn in
    CRect ScrollBarRect() const; // the view's vertical scroll bar
    SourcePart PartColour(SourcePart part, unsigned char rgb[3]) const;

    // ---- keys and mouse (ColoringEditorInput.cpp) ----
    bool OnKey(std::uint32_t message, std::uint16_t modifiers);
    void MoveCaret(int pos, bool extend);
    void OnMouseDown(CPoint point, std::uint16_t modifiers);
    void OnMouseMove(CPoint point);
    bool OnScrollBarClick(CPoint point);
    void OnThumbMove(CPoint point);

    CSourceText m_text;
    CSourceUndo m_undo;
    int m_anchor = 0;
    int m_caret = 0;
    int m_goalColumn = -1;  // kept while moving up and down
    int m_markedStart = -1; // provisional input (MacUnicodeInput with fixed 0)
    int m_markedLength = 0;

    // look
    std::unique_ptr<qm::text::Style> m_style;
    CSafeBuf m_fontName;
    int m_fontSize = 13;
    int m_lineHeight = 16;
    int m_ascent = 12;
    double m_charWidth = 8;
    bool m_lineNumbers = true;
    bool m_wordWrap = false;
    bool m_showWhitespace = false;
    bool m_dimTags = false;
    bool m_focused = false;

    // scrolling
    int m_topRow = 0;
    int m_leftColumn = 0;

    // mouse
    bool m_tracking = false;
    bool m_thumbTracking = false; // dragging the scroll bar's thumb
    int m_thumbStartY = 0;
    int m_thumbStartRow = 0;

    // drag and drop
    std::uint32_t m_dragToken = 0;
    bool m_dragging = false; // this view's drag is under way
    int m_dragStart = 0;     // the selection being dragged
    int m_dragEnd = 0;
    int m_dropCaret = -1;
    bool m_caretHidden = false;

    std::unique_ptr<CFindReplaceDlg> m_findDialog;
};
