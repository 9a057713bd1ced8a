// Loading markup into the engine's document and writing it back: the
// engine's thin entries over the document's loader and writer.

#include "editor/XHTML.h"

#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/TreeQueries.h"
#include "element/markup/MarkupWriter.h"
#include "element/services/ControlServices.h"

namespace {

// The mode bit that turns the document's tidy pass off.
constexpr int kNoTidyPass = 8;

// Toolbar buttons by kind.
constexpr int kButtonUnblockquote = 9;
constexpr int kButtonLink = 18;
constexpr int kButtonAttachment = 19;

// An element with no content of its own: one the factory makes childless, or
// an empty tag of XHTML (an image, a rule).
bool HasNoContent(const CElement* e) { return e->m_noChild || IsVoidElement(e); }

} // namespace

bool CXHTML::LoadDocument(const unsigned short* markup)
{
    bool loaded = false;
    // An open find dialog searches the new document from its caret, not on
    // from where its last match stood in this one.
    RestartFind();
    try {
        DisplayClipButton();
        loaded = DocLoadDocument(markup);
        DocUpdateKeyCursor();
        DocAdjCursorPos();
        // Leaving a blockquote, the link and the attachment need a caret or
        // selection that the new document has not had yet.
        if (m_control)
            for (int kind : {kButtonUnblockquote, kButtonLink, kButtonAttachment})
                m_control->ToolEnableButton(kind, 0, false, true);

        CElement* root = m_doc.m_root;
        CElement*& caret = m_doc.m_caretElement;
        if (caret && !m_doc.IsElementExist(caret))
            caret = nullptr;
        if (!root || caret)
            return loaded;
        // No caret from the markup: the first text run takes it. A document
        // without text takes the last element that has no content of its own,
        // before it: the empty runs the tree repair adds beside an image or
        // in an empty paragraph are no text, and count only when nothing
        // else can take the caret.
        CElement* firstRun = nullptr;
        bool text = false;
        CElement* lastEmpty = nullptr;
        for (CElement* e = NextInSubtree(root, root); e && !text; e = NextInSubtree(e, root)) {
            if (e->IsTextElement()) {
                firstRun = firstRun ? firstRun : e;
                text = !e->m_text.IsEmpty();
            } else if (HasNoContent(e)) {
                lastEmpty = e;
            }
        }
        if (firstRun && (text || !lastEmpty)) {
            caret = firstRun;
            DocUpdateKeyCursor();
        } else if (lastEmpty) {
            caret = lastEmpty;
            caret->m_caretOffset = 0;
            DocUpdateKeyCursor();
        }
    } catch (...) {
        // The load's answer stands; the caret stays where it got to.
    }
    return loaded;
}

void CXHTML::GetSourceCode(CSafeBuf& out, int mode)
{
    DocGetSourceCode(out, mode, (mode & kNoTidyPass) == 0);
}
