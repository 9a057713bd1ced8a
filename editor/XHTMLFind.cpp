// Find and replace in the WYSIWYG view. The engine's find dialog is the
// window layer's modeless find dialog (ui/FindReplaceDlg.h) working on the
// document's plain text (GetDocText): a match is selected in the text runs
// that hold it, so a match may run across runs and elements. The dialog
// stays open while the user edits; each search takes the document's text
// afresh and goes on from where the last match ended.

#include "editor/XHTML.h"

#include "base/text/LetterCase.h"
#include "element/Element.h"
#include "element/Selection.h"
#include "ui/FindReplaceDlg.h"
#include "ui/Window.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

namespace {

// Without match case, letters of any case match (accented, Greek and
// Cyrillic ones too).
unsigned short Fold(unsigned short c, bool matchCase) { return matchCase ? c : FoldLetterCase(c); }

bool MatchAt(const CSafeBuf& text, int at, const CSafeBuf& what, bool matchCase)
{
    for (int k = 0; k < what.Length(); ++k)
        if (Fold(text.GetAt(at + k), matchCase) != Fold(what.GetAt(k), matchCase))
            return false;
    return true;
}

// Where a search starts in the document's plain text: at the selection's
// start, else at the caret (0 when the caret is in no text). The selected
// text goes into selected when asked for.
int SearchStart(CElement* root, CSafeBuf* selected)
{
    CSafeBuf text;
    int state = 0;
    SelectionStruct selection;
    const int caret = GetDocText(root, text, state, 0, 0, 0, &selection);
    if (selection.start >= 0 && selection.end >= selection.start) {
        if (selected)
            *selected = text.Mid(selection.start, selection.end - selection.start + 1);
        return selection.start;
    }
    return caret < 0 ? 0 : caret;
}

// Replace All stops after this many replacements.
constexpr size_t kMaxReplacements = 100000;

// The engine's find dialog: a window the engine holds (m_findDialog) that
// owns the dialog and searches the engine's document.
class CEngineFind : public TWindow, public CFindReplaceTarget
{
public:
    explicit CEngineFind(CXHTML& engine) : m_engine(engine), m_dialog(*this, engine.m_langString) { }

    CFindReplaceDlg& Dialog() { return m_dialog; }
    // Where the next search down starts, in the document's plain text.
    void SetStart(int start) { m_next = m_upTo = start < 0 ? 0 : start; }
    // The document is being replaced: the next search starts at the caret
    // of the new one (the offsets of the last match mean nothing there).
    void RestartAtCaret() { m_restart = true; }

    bool FindNext(const CSafeBuf& what, bool matchCase, bool down) override
    {
        CatchUp();
        CElement* root = m_engine.m_doc.m_root;
        const int found = Search(what, matchCase, down);
        if (found < 0)
            return false;
        Mark(root, found, what.Length());
        Show();
        return true;
    }

    bool ReplaceCurrent(const CSafeBuf& what, const CSafeBuf& with, bool matchCase) override
    {
        // Only a selection that is an occurrence is replaced (the user may
        // have selected something else since it was found); otherwise the
        // next occurrence is found for the next press.
        CatchUp();
        if (!m_engine.m_doc.m_selectionPresent || !SelectionIs(what, matchCase)) {
            FindNext(what, matchCase, true);
            return false;
        }
        // The document is laid out and drawn once a press: with the next
        // occurrence marked, or with the caret after the replacement when
        // there is none.
        // The typing before the replacement is an undo step of its own.
        m_engine.m_doc.TakePendingChange();
        if (!m_engine.ReplaceText(with, false))
            return false;
        Replaced(what, with);
        if (!FindNext(what, matchCase, true)) {
            Show();
            m_engine.m_doc.SetLastKeyPos(m_engine.m_doc.m_caretPoint);
        }
        return true;
    }

    int ReplaceAll(const CSafeBuf& what, const CSafeBuf& with, bool matchCase) override
    {
        CXDoc& doc = m_engine.m_doc;
        const int m = what.Length();
        if (!doc.m_root || m == 0)
            return 0;
        // Every occurrence is found in one text of the document, left to
        // right and not overlapping (as searches one after another find
        // them), then replaced from the last to the first, so that the
        // places of those before stay where they were found. A match
        // inside one text run is replaced in the run; one across runs
        // through the selection, after which the text is taken afresh.
        // Nothing is laid out, drawn or noted as a change in between: the
        // document is laid out and drawn once at the end and the change
        // noted once, so that one undo takes every replacement back.
        CSafeBuf text;
        std::vector<DocTextPiece> pieces;
        GetDocTextPieces(doc.m_root, text, pieces);
        std::vector<int> matches;
        for (int i = 0; i + m <= text.Length() && matches.size() < kMaxReplacements;)
            if (MatchAt(text, i, what, matchCase)) {
                matches.push_back(i);
                i += m;
            } else {
                ++i;
            }
        if (!matches.empty())
            doc.TakePendingChange();
        int count = 0;
        CElement* caretRun = nullptr;
        long caretOffset = 0;
        for (auto it = matches.rbegin(); it != matches.rend(); ++it) {
            const int at = *it;
            // The text is kept up to date before the match (replacements
            // are made after it), but one across runs may have changed more.
            if (!MatchAt(text, at, what, matchCase))
                continue;
            auto after = std::upper_bound(pieces.begin(), pieces.end(), at,
                [](int offset, const DocTextPiece& piece) { return offset < piece.at; });
            if (after == pieces.begin())
                continue; // the match starts in the blank before the first text
            CElement* run = std::prev(after)->run;
            const int from = at - std::prev(after)->at;
            if (from >= run->m_text.Length() && (after == pieces.end() || at + m <= after->at))
                continue; // only the blank between two blocks: no text to replace
            if (from + m <= run->m_text.Length()) {
                run->m_text.Delete(from, m);
                run->m_text.Insert(from, with);
                if (!caretRun) {
                    caretRun = run;
                    caretOffset = from + with.Length();
                } else if (caretRun == run) {
                    caretOffset += with.Length() - m;
                }
                ++count;
                continue;
            }
            // Across runs or blocks: replaced through the selection, whose
            // removal may change the tree, so the text is taken afresh.
            Mark(doc.m_root, at, m);
            const bool replaced = m_engine.ReplaceSelectedText(with, false);
            doc.m_root->CleanSelection(true);
            doc.m_selectionPresent = 0;
            if (replaced) {
                ++count;
                if (!caretRun) {
                    caretRun = doc.m_caretElement;
                    caretOffset = caretRun ? caretRun->m_caretOffset : 0;
                }
            }
            text.Empty();
            pieces.clear();
            GetDocTextPieces(doc.m_root, text, pieces);
        }
        if (count > 0) {
            doc.m_root->CleanSelection(true);
            doc.m_selectionPresent = 0;
            if (caretRun && doc.IsElementInTree(caretRun)) {
                caretRun->m_caretOffset = caretOffset;
                doc.m_caretElement = caretRun;
            }
            Show();
            doc.SetLastKeyPos(doc.m_caretPoint);
            m_engine.NotifyChange(true);
        }
        m_next = 0;
        m_upTo = 0;
        m_restart = false;
        return count;
    }

private:
    // Starts from the caret after the document was replaced.
    void CatchUp()
    {
        if (!m_restart)
            return;
        m_restart = false;
        SetStart(m_engine.m_doc.m_root ? SearchStart(m_engine.m_doc.m_root, nullptr) : 0);
    }

    // Where the next occurrence of what starts in the document's plain
    // text, searching down from the end of the last match or up from its
    // start; -1 when there is none.
    int Search(const CSafeBuf& what, bool matchCase, bool down) const
    {
        CElement* root = m_engine.m_doc.m_root;
        const int m = what.Length();
        if (!root || m == 0)
            return -1;
        CSafeBuf text;
        int state = 0;
        GetDocText(root, text, state, 0, 0, 0, nullptr);
        if (down) {
            for (int i = m_next; i + m <= text.Length(); ++i)
                if (MatchAt(text, i, what, matchCase))
                    return i;
        } else {
            for (int i = std::min(m_upTo, text.Length()) - m; i >= 0; --i)
                if (MatchAt(text, i, what, matchCase))
                    return i;
        }
        return -1;
    }

    // The selection's plain text is an occurrence of what: then it counts as
    // the last match (whether the dialog found it or the user selected it),
    // so that the search goes on after it. When it is not, the next search
    // down starts at the selection.
    bool SelectionIs(const CSafeBuf& what, bool matchCase)
    {
        CElement* root = m_engine.m_doc.m_root;
        if (!root)
            return false;
        CSafeBuf text;
        int state = 0;
        SelectionStruct selection;
        GetDocText(root, text, state, 0, 0, 0, &selection);
        if (selection.start < 0)
            return false;
        if (selection.end - selection.start + 1 == what.Length()
            && MatchAt(text, selection.start, what, matchCase)) {
            m_next = selection.start + what.Length();
            m_upTo = selection.start;
            return true;
        }
        m_next = selection.start;
        return false;
    }

    // The match just searched past was replaced: the next search starts
    // right after the replacement, wherever the text after it moved.
    void Replaced(const CSafeBuf& what, const CSafeBuf& with)
    {
        m_next += with.Length() - what.Length();
        if (m_next < 0)
            m_next = 0;
    }

    // Selects the range start, length of the plain text in the runs that
    // hold it, with the caret at its start; nothing is drawn.
    void Mark(CElement* root, int start, int length)
    {
        CXDoc& doc = m_engine.m_doc;
        root->CleanSelection(true);
        CSafeBuf unused;
        int state = 0;
        GetDocText(root, unused, state, 1, start, length, nullptr);
        doc.m_selectionPresent = 1;
        doc.SetPositionToFirstSel(false);
        m_next = start + length;
        m_upTo = start;
    }

    // Lays out and draws the document with the marked match in view.
    void Show()
    {
        CXDoc& doc = m_engine.m_doc;
        doc.DrawDoc(1);
        doc.UpdateKeyCursor();
        doc.AdjCursorPos();
        doc.Redraw();
    }

    CXHTML& m_engine;
    CFindReplaceDlg m_dialog;
    int m_next = 0;
    int m_upTo = 0;
    bool m_restart = false;
};

} // namespace

void CXHTML::RestartFind()
{
    if (auto* open = dynamic_cast<CEngineFind*>(m_findDialog))
        open->RestartAtCaret();
}

void CXHTML::DoFindReplace(bool replace)
{
    auto* open = dynamic_cast<CEngineFind*>(m_findDialog);
    if (open && open->Dialog().IsOpen()) {
        open->Dialog().Show(replace);
        return;
    }
    delete m_findDialog;
    m_findDialog = nullptr;
    if (!m_doc.m_root)
        return;

    auto find = std::make_unique<CEngineFind>(*this);
    CSafeBuf selected;
    find->SetStart(SearchStart(m_doc.m_root, &selected));
    find->Dialog().Show(replace, selected.IsEmpty() ? nullptr : static_cast<const unsigned short*>(selected));
    m_findDialog = find.release();
}
