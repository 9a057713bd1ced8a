// The markup source view's tools (Validate, white space, dim tags, word
// wrap, Indent), the element-name test used for colouring, and find and
// replace in the source text.

#include "source_view/ColoringEditor.h"

#include "base/text/LetterCase.h"
#include "element/factory/TagTables.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"
#include "source_view/ValidateXml.h"

#include <vector>

void CColoringEditor::OnValidate()
{
    if (m_control) {
        m_control->OnScvalidate();
        return;
    }
    CSafeBuf text;
    GetText(text, false);
    ValidateXMLValue(text, true);
}

void CColoringEditor::OnWhitespace()
{
    m_showWhitespace = !m_showWhitespace;
    Redraw();
}

void CColoringEditor::OnDimTags()
{
    m_dimTags = !m_dimTags;
    Redraw();
}

void CColoringEditor::OnWordWrap() { SetWrapMode(!m_wordWrap); }

bool CColoringEditor::IsToolChecked(int kind) const
{
    switch (kind) {
    case kButtonWhitespace: return m_showWhitespace;
    case kButtonDimTags: return m_dimTags;
    case kButtonWordWrap: return m_wordWrap;
    default: return false;
    }
}

bool CColoringEditor::OnIndent()
{
    if (!m_engine)
        return false;
    CSafeBuf text;
    GetText(text, false);
    CSafeBuf indented;
    if (!m_engine->IndentMarkup(text, indented))
        return false;
    if (indented == text)
        return true;
    // The whole text is replaced as one step; the caret goes to the start.
    SourceUndoStep step;
    step.anchorBefore = m_anchor;
    step.caretBefore = m_caret;
    ApplyEdit(step, 0, m_text.Length(), indented, indented.Length());
    m_anchor = m_caret = 0;
    m_topRow = m_leftColumn = 0;
    Commit(step, false);
    return true;
}

bool CColoringEditor::IsValidHTMLTag(const unsigned short* name, int length) const
{
    if (!name || length <= 0)
        return false;
    std::vector<unsigned short> tag(name, name + length);
    tag.push_back(0);
    if (IsTagInList(XHTMLTags, tag.data()))
        return true;
    if (!m_control)
        return false;
    return CControlServices::IsInElementList(m_control->CustomInlineElementsSearch, tag.data())
        || CControlServices::IsInElementList(m_control->CustomBlockElementsSearch, tag.data())
        || CControlServices::IsInElementList(m_control->CustomEmptyElementsSearch, tag.data());
}

void CColoringEditor::DoFindReplace(bool replace)
{
    if (!m_findDialog)
        m_findDialog
            = std::make_unique<CFindReplaceDlg>(*this, m_control ? &m_control->GetLangString() : nullptr);
    // A one-line selection is what the user most likely looks for.
    CSafeBuf selected;
    const int start = SelectionStart();
    const int end = SelectionEnd();
    bool oneLine = start < end;
    for (int i = start; i < end && oneLine; ++i)
        oneLine = !m_text.IsBreak(i);
    if (oneLine)
        selected.Append(m_text.Data() + start, end - start);
    m_findDialog->Show(replace, selected.IsEmpty() ? nullptr : static_cast<const unsigned short*>(selected));
}

namespace {

// Without match case, letters of any case match (accented, Greek and
// Cyrillic ones too).
unsigned short Fold(unsigned short c, bool matchCase) { return matchCase ? c : FoldLetterCase(c); }

bool MatchAt(const unsigned short* t, int n, int i, const CSafeBuf& what, bool matchCase)
{
    const int m = what.Length();
    if (i < 0 || i + m > n)
        return false;
    for (int k = 0; k < m; ++k) {
        if (Fold(t[i + k], matchCase) != Fold(what.GetAt(k), matchCase))
            return false;
    }
    return true;
}

} // namespace

bool CColoringEditor::FindNext(const CSafeBuf& what, bool matchCase, bool down)
{
    const int n = m_text.Length();
    const int m = what.Length();
    if (m == 0 || m > n)
        return false;
    const unsigned short* t = m_text.Data();
    int found = -1;
    if (down) {
        for (int i = SelectionEnd(); i + m <= n && found < 0; ++i)
            if (MatchAt(t, n, i, what, matchCase))
                found = i;
        for (int i = 0; i < SelectionEnd() && i + m <= n && found < 0; ++i) // wraps to the start
            if (MatchAt(t, n, i, what, matchCase))
                found = i;
    } else {
        for (int i = SelectionStart() - 1; i >= 0 && found < 0; --i)
            if (MatchAt(t, n, i, what, matchCase))
                found = i;
        for (int i = n - m; i >= SelectionStart() && found < 0; --i) // wraps to the end
            if (MatchAt(t, n, i, what, matchCase))
                found = i;
    }
    if (found < 0)
        return false;
    MoveCaret(found, false);
    SetSelection(found, found + m);
    ScrollToCaret();
    Redraw();
    return true;
}

bool CColoringEditor::ReplaceCurrent(const CSafeBuf& what, const CSafeBuf& with, bool matchCase)
{
    const int start = SelectionStart();
    bool replaced = false;
    if (SelectionEnd() - start == what.Length()
        && MatchAt(m_text.Data(), m_text.Length(), start, what, matchCase)) {
        m_undo.BreakTyping();
        ReplaceSelection(with, with.Length(), false);
        replaced = true;
    }
    FindNext(what, matchCase, true);
    return replaced;
}

int CColoringEditor::ReplaceAll(const CSafeBuf& what, const CSafeBuf& with, bool matchCase)
{
    const int m = what.Length();
    if (m == 0)
        return 0;
    // The occurrences, left to right without overlaps, replaced in one step.
    std::vector<int> places;
    const unsigned short* t = m_text.Data();
    const int n = m_text.Length();
    for (int i = 0; i + m <= n;) {
        if (MatchAt(t, n, i, what, matchCase)) {
            places.push_back(i);
            i += m;
        } else {
            ++i;
        }
    }
    if (places.empty())
        return 0;
    // Built as one new text: replacing one by one would cost a pass over the
    // text for each occurrence.
    std::vector<unsigned short> out;
    out.reserve(static_cast<std::size_t>(n)
        + places.size() * static_cast<std::size_t>(std::max(0, with.Length() - m)));
    int done = 0;
    int caret = m_caret;
    for (const int p : places) {
        out.insert(out.end(), t + done, t + p);
        out.insert(out.end(), static_cast<const unsigned short*>(with),
            static_cast<const unsigned short*>(with) + with.Length());
        if (p < m_caret)
            caret += with.Length() - m;
        done = p + m;
    }
    out.insert(out.end(), t + done, t + n);
    SourceUndoStep step;
    step.anchorBefore = m_anchor;
    step.caretBefore = m_caret;
    ApplyEdit(step, 0, n, out.data(), static_cast<int>(out.size()));
    SetSelection(caret, caret);
    Commit(step, false);
    return static_cast<int>(places.size());
}
