#pragma once
// A document read from markup for the text-run tests, and the measures they
// compare runs with: the width of a text in a run's own font, measured by a
// fresh layout.

#include <cstring>
#include <string>

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/markup/MarkupDocument.h"
#include "elements/TextElement.h"
#include "platform/text/TextLayout.h"

namespace qmtest {

struct RunDocument
{
    // editorSheet, when given, is loaded as the editor's style sheet first.
    explicit RunDocument(const std::string& markup, const char* editorSheet = nullptr)
    {
        if (editorSheet) {
            CSafeBuf sheet(reinterpret_cast<const unsigned char*>(editorSheet));
            engine.m_doc.LoadStyleClass(sheet, 0, false, 1);
        }
        CSafeBuf error;
        doc.Read(markup.data(), markup.size(), error);
    }
    CElement* Body() const { return doc.Body(); }
    CXHTML engine;
    CMarkupDocument doc{&engine};
};

// The first text run at or below e, in document order (with text when asked).
inline CTextElement* FirstRun(CElement* e, bool withText = true)
{
    if (!e)
        return nullptr;
    if (CTextElement* run = dynamic_cast<CTextElement*>(e)) {
        if (!withText || !run->m_text.IsEmpty())
            return run;
    }
    for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
        if (CTextElement* found = FirstRun(c, withText))
            return found;
    }
    return nullptr;
}

// Width of text in the run's font, from a layout of its own.
inline int WidthInFont(CTextElement& run, const std::u16string& text)
{
    qm::text::Layout layout;
    layout.SetStyle(&run.TextStyle());
    layout.SetText(reinterpret_cast<const std::uint16_t*>(text.data()), int(text.size()));
    qm::text::TextRect r;
    layout.GlyphBounds(0, int(text.size()), r);
    return r.right - r.left;
}

inline std::u16string Units(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

} // namespace qmtest
