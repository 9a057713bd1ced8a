// Find and replace in the WYSIWYG view. The engine's find dialog is the
// window layer's modeless find dialog (ui/FindReplaceDlg.h) working on the
// document's plain text (GetDocText): a match is selected in the text runs
// that hold it, so a match may run across runs and elements. The dialog
// stays open while the user edits; each search takes the document's text
// afresh and goes on from where the last match ended.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/Selection.h"
#include "ui/FindReplaceDlg.h"
#include "ui/Window.h"

#include <memory>

namespace {

unsigned short Fold(unsigned short c, bool matchCase)
{
    if (!matchCase && c >= 'a' && c <= 'z')
        return static_cast<unsigned short>(c - 32);
    return c;
}

bool MatchAt(const CSafeBuf& text, int at, const CSafeBuf& what, bool matchCase)
{
    for (int k = 0; k < what.Length(); ++k)
        if (Fold(text.GetAt(at + k), matchCase) != Fold(what.GetAt(k), matchCase))
            return false;
    return true;
}

// The engine's find dialog: a window the engine holds (m_findDialog) that
// owns the dialog and searches the engine's document.
class CEngineFind : public TWindow, public CFindReplaceTarget
{
public:
    explicit CEngineFind(CXHTML& engine) : m_engine(engine), m_dialog(*this, engine.m_langString) { }

    CFindReplaceDlg& Dialog() { return m_dialog; }
    // Where the next search down starts, in the document's plain text.
    void SetStart(int start) { m_next = m_upTo = start < 0 ? 0 : start; }

    bool FindNext(const CSafeBuf& what, bool matchCase, bool down) override
    {
        CElement* root = m_engine.m_doc.m_root;
        const int m = what.Length();
        if (!root || m == 0)
            return false;
        CSafeBuf text;
        int state = 0;
        GetDocText(root, text, state, 0, 0, 0, nullptr);
        int found = -1;
        if (down) {
            for (int i = m_next; found < 0 && i + m <= text.Length(); ++i)
                if (MatchAt(text, i, what, matchCase))
                    found = i;
        } else {
            for (int i = std::min(m_upTo, text.Length()) - m; found < 0 && i >= 0; --i)
                if (MatchAt(text, i, what, matchCase))
                    found = i;
        }
        if (found < 0)
            return false;
        Select(root, found, m);
        m_next = found + m;
        m_upTo = found;
        return true;
    }

    bool ReplaceCurrent(const CSafeBuf& what, const CSafeBuf& with, bool matchCase) override
    {
        if (!m_engine.m_doc.m_selectionPresent || !m_engine.ReplaceText(with, true))
            return false;
        Replaced(what, with);
        FindNext(what, matchCase, true);
        return true;
    }

    int ReplaceAll(const CSafeBuf& what, const CSafeBuf& with, bool matchCase) override
    {
        int count = 0;
        m_next = 0;
        // Each replacement must succeed for the search to go on; the limit
        // stops a replacement that holds what it replaces from looping.
        while (count < 100000 && FindNext(what, matchCase, true) && m_engine.ReplaceText(with, false)) {
            Replaced(what, with);
            ++count;
        }
        return count;
    }

private:
    // The match just searched past was replaced: the next search starts
    // right after the replacement, wherever the text after it moved.
    void Replaced(const CSafeBuf& what, const CSafeBuf& with)
    {
        m_next += with.Length() - what.Length();
        if (m_next < 0)
            m_next = 0;
    }

    void Select(CElement* root, int start, int length)
    {
        CXDoc& doc = m_engine.m_doc;
        root->CleanSelection(true);
        CSafeBuf unused;
        int state = 0;
        GetDocText(root, unused, state, 1, start, length, nullptr);
        doc.m_selectionPresent = 1;
        doc.SetPositionToFirstSel(false);
        doc.DrawDoc(1);
        doc.UpdateKeyCursor();
        doc.AdjCursorPos();
        doc.Redraw();
    }

    CXHTML& m_engine;
    CFindReplaceDlg m_dialog;
    int m_next = 0;
    int m_upTo = 0;
};

} // namespace

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
    CSafeBuf text;
    int state = 0;
    SelectionStruct selection;
    const int caret = GetDocText(m_doc.m_root, text, state, 0, 0, 0, &selection);
    find->SetStart(caret);
    CSafeBuf selected;
    if (selection.start >= 0 && selection.end >= selection.start) {
        selected = text.Mid(selection.start, selection.end - selection.start + 1);
        find->SetStart(selection.start);
    }
    find->Dialog().Show(replace, selected.IsEmpty() ? nullptr : static_cast<const unsigned short*>(selected));
    m_findDialog = find.release();
}
