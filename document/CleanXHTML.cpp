// CXDoc::CleanXHTML: markup from outside the editor made into the XHTML the
// editor keeps, through a short-lived markup tree.

#include "document/XDoc.h"

#include "base/text/TextUtilsMarkup.h"
#include "document/SrcElement.h"
#include "element/markup/MarkupEntities.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"

#include <algorithm>

namespace {

// The control's option bits the cleaner reads.
constexpr int kOptionCustomElements = 0x4000;  // bit 8 of the mode takes effect
constexpr int kOptionWordAttributes = 0x10000; // modes 1 and 2 drop align, valign and id

constexpr int kModeCustomElements = 8;
constexpr int kWriteCompact = 2;
constexpr int kWriteBodyContent = 0x100;

unsigned short Lower(unsigned short c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned short>(c + 32) : c;
}

bool IsBlankOrTab(unsigned short c) { return c == ' ' || c == '\t'; }

// Whether the body and html tags, and "!DOCTYPE", were found.
struct FrameTags
{
    bool body = false;
    bool html = false;
    bool doctype = false;
};

// Whether the four units at s match name (lower case), ASCII case ignored.
bool NameAt(const unsigned short* s, int n, int i, const char* name)
{
    if (i + 4 > n)
        return false;
    for (int k = 0; k < 4; ++k) {
        if (Lower(s[i + k]) != static_cast<unsigned char>(name[k]))
            return false;
    }
    return true;
}

bool StartsAt(const unsigned short* s, int n, int i, const char* word)
{
    for (int k = 0; word[k]; ++k) {
        if (i + k >= n || s[i + k] != static_cast<unsigned char>(word[k]))
            return false;
    }
    return true;
}

// Finds, in one pass, "!DOCTYPE" anywhere and every body and html tag name
// (ASCII case ignored), which it writes in lower case. A tag name follows "<", blanks and TABs and at
// most one "/" ("<body", "</ body"). After "body" come blanks or TABs and
// ">"; after "html" a blank, TAB, "/" or ">", so its start tag may carry
// attributes. (A "/html" without "<", as in the path of an address, is no
// tag and keeps its case.)
FrameTags LowerFrameTags(CSafeBuf& text)
{
    FrameTags found;
    const int n = text.Length();
    unsigned short* s = text;
    for (int i = 0; i < n; ++i) {
        if (s[i] > '<') // most units: neither "<" nor "!"
            continue;
        if (s[i] == '!' && !found.doctype && StartsAt(s, n, i, "!DOCTYPE"))
            found.doctype = true;
        if (s[i] != '<')
            continue;
        int at = i + 1;
        while (at < n && IsBlankOrTab(s[at]))
            ++at;
        if (at < n && s[at] == '/') {
            ++at;
            while (at < n && IsBlankOrTab(s[at]))
                ++at;
        }
        int after = at + 4;
        if (NameAt(s, n, at, "body")) {
            while (after < n && IsBlankOrTab(s[after]))
                ++after;
            if (after >= n || s[after] != '>')
                continue;
            static const char kBody[] = "body";
            std::copy(kBody, kBody + 4, s + at);
            found.body = true;
        } else if (NameAt(s, n, at, "html")) {
            if (after >= n || !(IsBlankOrTab(s[after]) || s[after] == '/' || s[after] == '>'))
                continue;
            static const char kHtml[] = "html";
            std::copy(kHtml, kHtml + 4, s + at);
            found.html = true;
        }
    }
    return found;
}

const CControlServices* Control(const CXHTMLServices* owner) { return owner ? owner->m_control : nullptr; }

bool Clean(CXHTMLServices* owner, CSafeBuf& text, int mode)
{
    const int options = owner ? owner->Options() : 0;
    if (!(options & kOptionCustomElements))
        mode &= ~kModeCustomElements;
    const CControlServices* control = Control(owner);

    // Named references to numeric ones, in one pass over the text.
    PrepareMarkupEntities(text);
    // (Writing the tag names in lower case first moves no part of the
    // declaration RemoveDoctype takes out, and it holds no tag.)
    const FrameTags frame = LowerFrameTags(text);
    if (frame.doctype)
        RemoveDoctype(text);
    const bool wholeDocument = frame.body;
    if (!wholeDocument || !frame.html) {
        // A fragment goes into a body, and that, or a body without its
        // html, into an html element, in one copy.
        CSafeBuf wrapped;
        wrapped.PrepareBufferSize(text.Length() + 32 + (control ? control->Namespaces.Length() : 0));
        wrapped.ClearBuffer();
        if (!frame.html) {
            wrapped += "<html";
            if (control && !control->Namespaces.IsEmpty()) {
                wrapped += ' ';
                wrapped += control->Namespaces;
            }
            wrapped += '>';
        }
        if (!wholeDocument)
            wrapped += "<body>";
        wrapped += text;
        if (!wholeDocument)
            wrapped += "</body>";
        if (!frame.html)
            wrapped += "</html>";
        text.ReplaceWith(&wrapped);
    }

    CSrcElement root("body", owner);
    if (!root.LoadPreparedDoc(text))
        return false;
    if (mode == 1 || mode == 2) {
        root.RemoveNonXhtmlTag();
        root.CorrectTagNameAndAttr(mode == 1);
        if (options & kOptionWordAttributes)
            root.RemoveWordAttr();
    }
    if (mode == 2)
        root.RemoveScriptInfo();
    // Undeclared custom elements go first: one renamed "div" is then held
    // to the rules of a division, and one unwrapped may leave its parent
    // empty, as cleaning the result again would find.
    if (mode & kModeCustomElements) {
        CSafeBuf declared;
        if (control) {
            declared = control->CustomBlockElementsSearch;
            declared += control->CustomInlineElementsSearch;
        }
        root.CleanCustomTag(declared);
    }
    // Mode 2 unwraps a "span" without attributes too, and with it every
    // "a" without (the mode-0 pass after it would find none).
    root.RemoveTagWithoutAttrThenEmptyTag(mode == 2 ? 1 : 0, 1);
    root.ValidateDoc();
    if (mode == 2)
        root.RemoveEmptyParagraph();

    // The text is written over in its own buffer, which is about the size
    // it needs.
    if (!wholeDocument) {
        root.GetSourceCode(text, -1, kWriteBodyContent | kWriteCompact, true);
        return true;
    }
    CSafeBuf front("<html>");
    if (root.m_document) {
        front = root.m_document->htmlStartTag;
        void* pos = root.m_document->keptNodes.GetHeadPosition();
        while (pos)
            front += root.m_document->keptNodes.GetNext(pos);
    }
    // The markup read is no longer needed: the document is written in its
    // place, front first.
    text = front;
    root.AppendSourceCode(text, -1, kWriteCompact, true);
    text += "</html>";
    return true;
}

} // namespace

bool CXDoc::CleanXHTML(CSafeBuf& text, int mode)
{
    try {
        return Clean(m_owner, text, mode);
    } catch (...) {
        return false; // out of memory: text may hold the converted form
    }
}
