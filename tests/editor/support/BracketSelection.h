#pragma once
// Selections written into test markup: the text runs from the one holding
// "[" to the one holding "]" are selected and the brackets go; a caret
// after a bracket follows its character.

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementKinds.h"

namespace qmtest {

inline void CutBracket(CXHTML& engine, CElement* run, int offset)
{
    run->m_text.Delete(offset, 1);
    if (engine.m_doc.m_caretElement == run && run->m_caretOffset > offset)
        --run->m_caretOffset;
}

inline void MarkBracketSelection(CXHTML& engine)
{
    CPtrList all;
    engine.m_doc.m_root->GetAllChildren(&all, 0, false, kKindText, 0);
    bool inside = false;
    for (void* pos = all.GetHeadPosition(); pos;) {
        auto* run = static_cast<CElement*>(all.GetNext(pos));
        const int open = run->m_text.Find(static_cast<unsigned short>('['));
        if (open >= 0) {
            CutBracket(engine, run, open);
            inside = true;
        }
        if (!inside)
            continue;
        const int close = run->m_text.Find(static_cast<unsigned short>(']'));
        if (close >= 0)
            CutBracket(engine, run, close);
        run->m_selected = 1;
        run->m_selectable = 1;
        run->m_selStart = open >= 0 ? open : 0;
        run->m_selEnd = (close >= 0 ? close : run->m_text.Length()) - 1;
        engine.m_doc.m_selectionPresent = 1;
        inside = close < 0;
    }
}

} // namespace qmtest
