// HTML from the system clipboard: its fragment is repaired by Tidy, its
// namespace prefixes dropped and the markup cleaned as foreign clipboard
// markup, then inserted as pasted markup (local pictures uploaded).

#include "editor/XHTML.h"

#include "base/text/TextUtilsMarkup.h"
#include "document/SrcElement.h"
#include "editor/ClipboardDescription.h"
#include "editor/InsertSupport.h"
#include "editor/TidyMarkup.h"
#include "element/Element.h"
#include "element/ElementKinds.h"

#include <cstring>
#include <string>

namespace {

// CleanXHTML's mode for markup from another program's clipboard.
constexpr int kCleanForeignClipboard = 2;

} // namespace

bool CXHTML::InsertHTML(const char* description, bool)
{
    InsertForeignHTML(description);
    return false;
}

bool CXHTML::InsertForeignHTML(const char* description, std::optional<CSafeBuf>* preText)
{
    CElement* caret = m_doc.m_caretElement;
    if (!caret || !description || !(caret->IsTextElement() || caret->m_edgeCaret))
        return false;
    CSafeBuf fragment;
    if (!ReadClipboardFragment(description, std::strlen(description), fragment))
        return false;
    // Tidy hides comments, but drops the line end after one with it: they
    // go first, and the white space around them stays.
    RemoveCommentsOutsideText(fragment);
    // The fragment's bytes, one a unit, are the UTF-8 that Tidy reads.
    std::string source;
    source.reserve(static_cast<std::size_t>(fragment.Length()));
    for (int i = 0; i < fragment.Length(); ++i)
        source.push_back(static_cast<char>(fragment.GetAt(i) & 0xFF));
    CSafeBuf markup;
    ValidateXML(markup, source.c_str());
    markup.Replace("[%hardspace%]", "&nbsp;");
    RemoveTagNamespace(markup);
    m_doc.CleanXHTML(markup, kCleanForeignClipboard);
    // A pre takes no blocks: the clipboard's plain text of the same content,
    // laid out in lines by the program it comes from, goes in instead, or,
    // without one, the text of the blocks written by the editor.
    if (caret->IsElementUnderTag(kKindPre) && !m_doc.CanInsertTo(markup, nullptr, nullptr, false)) {
        if (preText) {
            CSafeBuf text;
            SelectionPlainText(markup, CSafeBuf(), this, text);
            *preText = text;
        }
        return false;
    }
    CSafeBuf content(markup);
    content.Trim();
    const long block = qm::insert::CaretBlockId(m_doc);
    const bool inserted = InsertHTMLCode(markup, true, true) && !content.IsEmpty();
    qm::insert::HoldSplitBlanks(m_doc, block);
    if (m_doc.m_root)
        m_doc.m_root->CheckDocument();
    DocDrawDoc();
    m_doc.Redraw();
    NotifyChange(true);
    m_doc.SetLastKeyPos(m_doc.m_caretPoint);
    return inserted;
}
