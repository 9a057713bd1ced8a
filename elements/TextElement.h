#pragma once
// CTextElement: a run of text: the characters of the document (empty tag
// name). Made only by the element factory, which stores the final kind code.
//
// Only what reading and writing markup use of a run is here: normalising the
// text read from markup and writing the run back, escaped, with the caret and
// selection markers.

#include "element/Element.h"

class CTextElement : public CElement
{
public:
    explicit CTextElement(STYLE_CLASS* rules) : CElement(rules)
    {
        m_kind = kKindText;
        m_selectable = 1;
        m_container = 0;
    }

    // Normalises text read from markup: the caret marker word is taken out
    // (its first offset kept in m_cursorMark, -1 when absent); the leading
    // TABs, LFs and CRs go; a trailing run of them becomes one blank; every
    // run of blanks, TABs, LFs and CRs collapses to one blank (other control
    // characters neither start nor end a run).
    void ValidateText();

    // Slot 67. Flag 0x80: the text unescaped (with 0x800 only the selected
    // characters). Otherwise one TAB per level with flag 0x1, the text
    // escaped for XML (runs of blanks kept as &#160; when the engine
    // preserves spaces), and with 0x8000 the caret or selection markers;
    // flag 0x8 wraps it in <text>...</text> with the selection as an
    // attribute.
    bool GetSourceCode(
        CSafeBuf& out, int level, int flags, CSafeBuf&, CSafeBuf&, CSafeBuf&, SourceCodeVar* var) override;

    // Where the caret marker stood in the text when it was normalised; -1
    // when it held none. The document puts the caret there after loading.
    int m_cursorMark = -1;
};
