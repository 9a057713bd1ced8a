#pragma once
// Markup with the caret and a selection marked in it, loaded into an
// engine, and the body's content read back: "|" is the caret, and the text
// from "[" to "]" is selected (the brackets go). The content comes out
// compact, without line ends, U+00A0 as "{nbsp}".

#include "tests/common/TextHelpers.h"

#include "editor/XHTML.h"
#include "element/Element.h"
#include "element/ElementKinds.h"
#include "element/markup/SourceCode.h"

#include <string>

namespace qmtest {

inline void CutMark(CXHTML& engine, CElement* run, int offset)
{
    run->m_text.Delete(offset, 1);
    if (engine.m_doc.m_caretElement == run && run->m_caretOffset > offset)
        --run->m_caretOffset;
}

// The runs from the one holding "[" to the one holding "]" are selected.
inline void MarkSelection(CXHTML& engine)
{
    CPtrList all;
    engine.m_doc.m_root->GetAllChildren(&all, 0, false, kKindText, 0);
    bool inside = false;
    for (void* pos = all.GetHeadPosition(); pos;) {
        auto* run = static_cast<CElement*>(all.GetNext(pos));
        const int open = run->m_text.Find(static_cast<unsigned short>('['));
        if (open >= 0) {
            CutMark(engine, run, open);
            inside = true;
        }
        if (!inside)
            continue;
        const int close = run->m_text.Find(static_cast<unsigned short>(']'));
        if (close >= 0)
            CutMark(engine, run, close);
        run->m_selected = 1;
        run->m_selectable = 1;
        run->m_selStart = open >= 0 ? open : 0;
        run->m_selEnd = (close >= 0 ? close : run->m_text.Length()) - 1;
        engine.m_doc.m_selectionPresent = 1;
        inside = close < 0;
    }
}

// Laid out width pixels wide.
inline bool LoadMarked(CXHTML& engine, std::string markup, int width = 200)
{
    const std::string::size_type at = markup.find('|');
    if (at != std::string::npos)
        markup.replace(at, 1, kCaretMarker);
    engine.m_menuElement = nullptr;
    engine.m_doc.m_viewRect = CRect(0, 0, width, 300);
    engine.m_doc.m_viewWidth = width;
    engine.AssignWnd();
    if (!engine.LoadDocument(CSafeBuf(markup.c_str())))
        return false;
    MarkSelection(engine);
    return true;
}

inline std::string BodyContent(CXHTML& engine)
{
    CSafeBuf out;
    engine.GetSourceCode(out, 6);
    std::string s = Utf8(out);
    const auto open = s.find("<body");
    const auto start = open == std::string::npos ? 0 : s.find('>', open) + 1;
    const auto end = s.rfind("</body>");
    s = s.substr(start, end == std::string::npos ? std::string::npos : end - start);
    for (auto cr = s.find_first_of("\r\n"); cr != std::string::npos; cr = s.find_first_of("\r\n"))
        s.erase(cr, 1);
    for (auto nb = s.find("\xC2\xA0"); nb != std::string::npos; nb = s.find("\xC2\xA0"))
        s.replace(nb, 2, "{nbsp}");
    return s;
}

// The body's content after the document is written and read back; the
// engine then holds what was read.
inline std::string ReadBack(CXHTML& engine)
{
    CSafeBuf written;
    engine.GetSourceCode(written, 6);
    if (!engine.LoadDocument(written))
        return "(not read)";
    return BodyContent(engine);
}

} // namespace qmtest
