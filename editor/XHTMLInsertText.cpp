// Plain text into the document at the caret, and the replacement of the
// selected text (find and replace, spelling).

#include "editor/XHTML.h"

#include "editor/InsertSupport.h"
#include "editor/PlainTextCharacters.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "elements/BRElement.h"

#include <vector>

using namespace qm::insert;

namespace {

// The pending run goes into the caret's text run.
void FlushRun(CXDoc& doc, CSafeBuf& run)
{
    CElement* caret = doc.m_caretElement;
    if (!run.IsEmpty() && caret && caret->IsTextElement() && doc.IsElementExist(caret))
        caret->InsertText(run);
    run.Empty();
}

} // namespace

void CXHTML::InsertText(const unsigned short* text, bool)
{
    CElement* caret = m_doc.m_caretElement;
    if (!caret || !text || !*text)
        return;
    const CSafeBuf all(text);
    if (all.Find(static_cast<unsigned short>('\r')) >= 0
        && !MayChange(kActionCommand, nullptr, kSubCodeBlocks))
        return;
    ActionBeforeInsertText(0);
    caret = m_doc.m_caretElement;
    if (!caret || !m_doc.IsElementExist(caret))
        return;
    WrapRunInParagraph(caret);
    if (!caret->IsTextElement()) {
        if (!caret->m_edgeCaret) {
            m_doc.InsertText(all);
            return;
        }
        caret = caret->InsertTextBlock();
        if (!caret)
            return;
        m_doc.m_caretElement = caret;
    }

    // A pre has no paragraphs: each line end of the text, blank lines'
    // too, becomes one of its own line ends, the break it reads a line
    // feed as.
    const bool pre = caret->IsElementUnderTag(kKindPre) != nullptr;
    CSafeBuf run;
    std::vector<CElement*> restyle; // parents of the breaks added
    // The style pass over a break's parent waits for the end: once a line
    // it would make long texts take quadratic time.
    auto addBreak = [this, pre, &restyle]() {
        CElement* br = AddTagAtCaret("br", true);
        if (!br)
            return;
        if (pre && br->m_kind == kKindBr)
            static_cast<CBRElement*>(br)->m_preBreak = true;
        if (br->m_parent && (restyle.empty() || restyle.back() != br->m_parent))
            restyle.push_back(br->m_parent);
    };
    bool sinceParagraph = false; // text since the last paragraph break
    bool any = false;            // text at all
    bool afterCR = false;
    const int n = all.Length();
    for (int i = 0; i < n; ++i) {
        const unsigned short c = all.GetAt(i);
        if (c == '\n' || afterCR) {
            afterCR = false;
            FlushRun(m_doc, run);
            if (pre) {
                addBreak();
            } else if (any && i + 1 < n && all.GetAt(i + 1) == '\r') {
                m_doc.EmulateReturnKey();
                ++i;
                sinceParagraph = false;
            } else if (sinceParagraph) {
                addBreak();
            }
            // After a lone CR the character that ended the line starts the
            // next run.
            if (c == '\r')
                afterCR = true;
            else if (c != '\n') {
                AppendPlainCharacter(run, c);
                sinceParagraph = any = true;
            }
            continue;
        }
        if (c == '\r') {
            afterCR = true;
            continue;
        }
        AppendPlainCharacter(run, c);
        sinceParagraph = any = true;
    }
    FlushRun(m_doc, run);
    // A CR that ends the text is the last line end of a pre's text too.
    if (pre && afterCR)
        addBreak();
    for (CElement* parent : restyle)
        if (m_doc.IsElementExist(parent))
            parent->StyleChanged(0);
}

bool CXHTML::ReplaceText(const unsigned short* replacement, bool redraw)
{
    ReplaceSelectedText(replacement, redraw);
    NotifyChange(true);
    return true;
}

bool CXHTML::ReplaceSelectedText(const unsigned short* replacement, bool redraw)
{
    CPtrList selected;
    if (m_doc.m_root)
        m_doc.m_root->GetAllChildren(&selected, 0, true, kKindText, 0);
    if (selected.GetCount() > 0) {
        auto* first = static_cast<CElement*>(selected.GetHead());
        const int length = first->m_text.Length();
        const long start = first->m_selStart < 0 ? 0 : first->m_selStart;
        const long end = first->m_selEnd >= length ? length - 1 : first->m_selEnd;
        if (start < length && end >= start)
            first->m_text.Delete(static_cast<int>(start), static_cast<int>(end - start + 1));
        first->m_selected = 0;
        first->m_caretOffset = start <= first->m_text.Length() ? start : first->m_text.Length();
        m_doc.m_caretElement = first;
        if (replacement && *replacement)
            first->m_text.Insert(static_cast<int>(first->m_caretOffset), replacement);
        first->m_caretOffset += CSafeBuf(replacement).Length();
        RemoveSelection();
        if (redraw) {
            DocDrawDoc();
            DocUpdateKeyCursor();
            DocAdjCursorPos();
            m_doc.Redraw();
            m_doc.SetLastKeyPos(m_doc.m_caretPoint);
        }
        return true;
    }
    return false;
}
