#pragma once
// A scripted-edit harness: a document read from markup with the caret
// written as "|", laid out and painted; keys sent to the caret element as
// the document sends them; the tree written back with the caret as "|" and
// no-break spaces as "{nbsp}".
//
// Keys are words: "Return", "Backspace", "Delete", "Left", "Right",
// "Opt+Left", "Opt+Right", "type:text" for each character of text,
// "unit:XXXX" for one UTF-16 unit given in hex, and "insert:text" for text
// inserted at once (as pasted), where \n, \r and \t stand for LF, CR and
// TAB and \uXXXX for any unit.

#include "tests/elements/support/RunDocument.h"

#include "element/markup/SourceCode.h"
#include "elements/TextElement.h"
#include "platform/events/Services.h"
#include "style/layout/LayoutPass.h"
#include "style/paint/OffscreenView.h"

#include <cstring>
#include <sstream>
#include <string>

namespace qmtest {

inline std::string Utf8Of(const CSafeBuf& text)
{
    char* bytes = nullptr;
    const int n = text.CreateUTF8Str(&bytes);
    std::string out(bytes, static_cast<size_t>(n));
    delete[] bytes;
    return out;
}

inline void ReplaceAll(std::string& s, const std::string& from, const std::string& to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
}

inline std::string WithCaretMarker(std::string markup)
{
    ReplaceAll(markup, "|", kCaretMarker);
    return markup;
}

struct TypingDocument : RunDocument
{
    explicit TypingDocument(const std::string& markup, int width = 400, const char* editorSheet = nullptr)
        : RunDocument(WithCaretMarker(markup), editorSheet)
    {
        // The caret is placed before layout: wrapping may split its run.
        if (Body())
            PlaceCaret(Body());
        ok = Body() && LayoutDocument(Body(), width) && RepaintDocument(Body());
    }

    CXDoc& Doc() { return engine.m_doc; }
    CElement* Caret() { return engine.m_doc.m_caretElement; }

    // One key; false when the caret element did not handle it.
    bool Key(unsigned int code, bool option = false)
    {
        CElement* e = Caret();
        if (!e)
            return false;
        qm::events::Services::Get().Input().modifiers = option ? qm::events::kModOption : 0;
        bool flag = false;
        CPoint point;
        int length = 0;
        CElement* moved = nullptr;
        const bool handled = e->OnChar(code, 1, 0, flag, point, length, moved, false);
        qm::events::Services::Get().Input().modifiers = 0;
        if (moved && engine.m_doc.IsElementExist(moved))
            engine.m_doc.m_caretElement = moved;
        engine.m_doc.ReleaseRemovedElements();
        return handled;
    }

    // The keys of a script (see the top of this file); false at the first
    // word that is not understood.
    bool Keys(const std::string& script)
    {
        std::istringstream words(script);
        std::string w;
        while (words >> w) {
            if (w.rfind("type:", 0) == 0) {
                for (size_t i = 5; i < w.size(); ++i)
                    Key(static_cast<unsigned char>(w[i]));
            } else if (w.rfind("insert:", 0) == 0) {
                CSafeBuf text;
                for (size_t i = 7; i < w.size(); ++i) {
                    char c = w[i];
                    if (c == '\\' && i + 5 < w.size() && w[i + 1] == 'u') {
                        text += static_cast<unsigned short>(std::stoul(w.substr(i + 2, 4), nullptr, 16));
                        i += 5;
                        continue;
                    }
                    if (c == '\\' && i + 1 < w.size()) {
                        const char e = w[++i];
                        c = e == 'n' ? '\n' : e == 'r' ? '\r' : e == 't' ? '\t' : e;
                    }
                    text += static_cast<unsigned short>(static_cast<unsigned char>(c));
                }
                if (Caret())
                    Caret()->InsertText(text);
            } else if (w.rfind("unit:", 0) == 0) {
                Key(static_cast<unsigned int>(std::stoul(w.substr(5), nullptr, 16)));
            } else if (w == "Return") {
                Key(13);
            } else if (w == "Backspace") {
                Key(8);
            } else if (w == "Delete") {
                Key(127);
            } else if (w == "Left" || w == "Opt+Left") {
                Key(28, w[0] == 'O');
            } else if (w == "Right" || w == "Opt+Right") {
                Key(29, w[0] == 'O');
            } else {
                return false;
            }
        }
        return true;
    }

    // The body's content with the caret as "|".
    std::string Markup()
    {
        CSafeBuf out, s1, s2, s3;
        SourceCodeVar var;
        Body()->GetSourceCode(out, -1, kSourceMarkers, s1, s2, s3, &var);
        const int open = out.Find('>');
        const int close = out.ReverseFind('<');
        if (open >= 0 && close > open) {
            out.CutAt(close);
            out.Delete(0, open + 1);
        }
        std::string s = Utf8Of(out);
        ReplaceAll(s, kCaretMarker, "|");
        ReplaceAll(s, "\r\n", "\n");
        ReplaceAll(s, "\xC2\xA0", "{nbsp}");
        return s;
    }

    bool ok = false;

private:
    bool PlaceCaret(CElement* e)
    {
        if (CTextElement* run = dynamic_cast<CTextElement*>(e)) {
            // Preformatted text keeps the marker word as it was read.
            const int at = run->m_text.Find(kCaretMarker);
            if (at >= 0)
                run->m_text.Delete(at, static_cast<int>(std::strlen(kCaretMarker)));
            if (run->m_cursorMark >= 0 || at >= 0) {
                run->m_caretOffset = at >= 0 ? at : run->m_cursorMark;
                engine.m_doc.m_caretElement = run;
                return true;
            }
        }
        for (CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (PlaceCaret(c))
                return true;
        }
        return false;
    }
};

} // namespace qmtest
