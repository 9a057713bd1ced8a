// CXDoc::CleanXHTML: markup from outside the editor made into the XHTML the
// editor keeps, through a short-lived markup tree.

#include "document/XDoc.h"

#include "base/text/TextUtilsMarkup.h"
#include "document/SrcElement.h"
#include "element/markup/MarkupEntities.h"
#include "element/services/ControlServices.h"
#include "element/services/XHTMLServices.h"

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

// Index of the first unit before i that is not a blank or TAB, or -1.
int SkipBackBlanks(const unsigned short* s, int i)
{
    while (i >= 0 && IsBlankOrTab(s[i]))
        --i;
    return i;
}

// Finds every place where name (4 lower-case letters, ASCII case ignored)
// stands as a tag name, and writes it there in lower case. Before the name
// there are "<", blanks and TABs and at most one "/" ("<body", "</ body").
// After "body" come blanks or TABs and ">"; after "html" a blank, TAB, "/"
// or ">", so its start tag may carry attributes. A "/html" without "<" (the
// path of an address) is no tag and keeps its case. Answers whether one was
// found.
bool LowerTagName(CSafeBuf& text, const char* name, bool attributesFollow)
{
    bool found = false;
    const int n = text.Length();
    unsigned short* s = text;
    for (int i = 0; i + 4 <= n; ++i) {
        if (Lower(s[i]) != name[0] || Lower(s[i + 1]) != name[1] || Lower(s[i + 2]) != name[2]
            || Lower(s[i + 3]) != name[3])
            continue;
        int after = i + 4;
        if (attributesFollow) {
            if (after >= n || !(IsBlankOrTab(s[after]) || s[after] == '/' || s[after] == '>'))
                continue;
        } else {
            while (after < n && IsBlankOrTab(s[after]))
                ++after;
            if (after >= n || s[after] != '>')
                continue;
        }
        int before = SkipBackBlanks(s, i - 1);
        if (before >= 0 && s[before] == '/')
            before = SkipBackBlanks(s, before - 1);
        if (before < 0 || s[before] != '<')
            continue;
        for (int k = 0; k < 4; ++k)
            s[i + k] = static_cast<unsigned short>(name[k]);
        found = true;
        i += 3;
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
    RemoveXMLTag(text, "!DOCTYPE");

    const bool wholeDocument = LowerTagName(text, "body", false);
    if (!wholeDocument) {
        CSafeBuf wrapped("<body>");
        wrapped += text;
        wrapped += "</body>";
        text.ReplaceWith(&wrapped);
    }
    if (!LowerTagName(text, "html", true)) {
        CSafeBuf wrapped("<html");
        if (control && !control->Namespaces.IsEmpty()) {
            wrapped += ' ';
            wrapped += control->Namespaces;
        }
        wrapped += '>';
        wrapped += text;
        wrapped += "</html>";
        text.ReplaceWith(&wrapped);
    }

    CSrcElement root("body", owner);
    if (!root.LoadDoc(text))
        return false;
    if (mode == 1 || mode == 2) {
        root.RemoveNonXhtmlTag();
        root.CorrectTagNameAndAttr(mode == 1);
        if (options & kOptionWordAttributes)
            root.RemoveWordAttr();
    }
    if (mode == 2) {
        root.RemoveScriptInfo();
        root.RemoveTagWithoutAttr(1);
    }
    root.RemoveTagWithoutAttr(0);
    root.RemoveEmptyTag(1);
    root.ValidateDoc();
    if (mode == 2)
        root.RemoveEmptyParagraph();
    if (mode & kModeCustomElements) {
        CSafeBuf declared;
        if (control) {
            declared = control->CustomBlockElementsSearch;
            declared += control->CustomInlineElementsSearch;
        }
        root.CleanCustomTag(declared);
    }

    if (!wholeDocument) {
        root.GetSourceCode(text, -1, kWriteBodyContent | kWriteCompact, true);
        return true;
    }
    CSafeBuf out(root.m_htmlStartTag.IsEmpty() ? CSafeBuf("<html>") : root.m_htmlStartTag);
    void* pos = root.m_keptNodes.GetHeadPosition();
    while (pos)
        out += root.m_keptNodes.GetNext(pos);
    CSafeBuf body;
    root.GetSourceCode(body, -1, kWriteCompact, true);
    out += body;
    out += "</html>";
    text.ReplaceWith(&out);
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
