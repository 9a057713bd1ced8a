// The document's rule lists: loading a sheet from text or a location,
// parsing rules, freeing and copying lists.

#include "base/files/FileUtilsLoad.h"
#include "base/shims/FileShims.h"
#include "base/url/RelativeURL.h"
#include "element/services/ControlServices.h"
#include "element/services/XDocServices.h"
#include "element/services/XHTMLServices.h"
#include "net/LoadHTTPFile.h"
#include "style/sheets/Declarations.h"
#include "style/sheets/SelectorParser.h"
#include "style/sheets/SheetText.h"
#include "style/sheets/StyleClass.h"

#include <new>

namespace {

// Whether text, read one byte a unit, is UTF-8 holding at least one
// character beyond ASCII.
bool IsUtf8Bytes(const CSafeBuf& text)
{
    bool wide = false;
    for (int i = 0; i < text.Length(); ++i) {
        const unsigned short c = text.GetAt(i);
        if (c > 0xFF)
            return false;
        if (c < 0x80)
            continue;
        int follow = (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
        if (follow < 0 || c == 0xC0 || c == 0xC1)
            return false;
        for (; follow > 0; --follow) {
            if ((text.GetAt(++i) & 0xC0) != 0x80)
                return false;
        }
        wide = true;
    }
    return wide;
}

// Reads a file through the loader: byte-order marks honoured, UTF-8 without
// a mark recognised.
bool ReadSheetFile(const CSafeBuf& path, CSafeBuf& text)
{
    if (!LoadFileToBuffer(static_cast<const unsigned short*>(path), &text, true))
        return false;
    if (IsUtf8Bytes(text)) {
        CSafeBuf decoded;
        decoded.AssignUTF8(static_cast<const unsigned short*>(text));
        text.ReplaceWith(&decoded);
    }
    return true;
}

// The sheet at a location, through the control's cache and the network
// loader; cacheFile receives the cache file's name (empty when the location
// is not cached).
bool ReadSheetLocation(CXHTMLServices* owner, const CSafeBuf& location, CSafeBuf& text, CSafeBuf& cacheFile)
{
    CControlServices* control = owner ? owner->m_control : nullptr;
    CSafeBuf path(location);
    const bool cached = control && control->GetCacheFile(path, cacheFile);
    if (cached)
        return ReadSheetFile(path, text);

    CSafeBuf localFile, target(cacheFile), server, user, password, unused1, unused2, unused3;
    unsigned int port = 80;
    ADDITIONAL_HTTP_HEADERS* headers = nullptr;
    void* httpOwner = nullptr;
    if (control) {
        headers = &control->Headers();
        httpOwner = AsHttpOwner(control);
        if (control->UseProxy())
            control->HttpProxy(server, port, user, password);
    }
    if (!LoadHTTPFile(httpOwner, location, localFile, unused1, -1, target, headers, unused2, nullptr, server,
            port, user, password, unused3, nullptr, "application/soap+xml", nullptr, nullptr)) {
        if (!cacheFile.IsEmpty())
            DeleteFile(static_cast<const unsigned short*>(cacheFile));
        return false;
    }
    return ReadSheetFile(localFile, text);
}

bool IsBackgroundDeclaration(const CSafeBuf& name)
{
    return name.CompareNoCase("background") == 0 || name.CompareNoCase("background-image") == 0;
}

// The address of the first "url(...)" of value resolved against base, put
// back as url("address").
void RebaseDeclaration(CSafeBuf& value, const CSafeBuf& base)
{
    const int open = value.Find("url(", 0, false);
    if (open < 0)
        return;
    const int close = value.Find(')', open + 4);
    if (close < 0)
        return;
    CSafeBuf address = value.Mid(open + 4, close - open - 4);
    address.Trim();
    const unsigned short q = address.GetAt(0);
    if (address.Length() >= 2 && (q == '"' || q == '\'') && address.GetAt(address.Length() - 1) == q)
        address = address.Mid(1, address.Length() - 2);
    CSafeBuf resolved;
    BuildRelativeURL(base, address, resolved);
    resolved.Replace("\"", "%22");
    CSafeBuf replacement("url(\"");
    replacement += resolved;
    replacement += "\")";
    value.Delete(open, close - open + 1);
    value.Insert(open, static_cast<const unsigned short*>(replacement));
}

// Makes the background image addresses of rules (from first on) absolute
// against the folder of location.
void RebaseImages(STYLE_CLASS* first, const CSafeBuf& location)
{
    int cut = -1;
    for (int i = 0; i < location.Length(); ++i) {
        if (location.GetAt(i) == '/' || location.GetAt(i) == '\\')
            cut = i;
    }
    const CSafeBuf base = location.Left(cut + 1);
    for (STYLE_CLASS* r = first; r; r = r->next) {
        ELEMENT_STYLE& style = r->style;
        if (style.bkImageSet && style.bkImage[0]) {
            CSafeBuf resolved;
            BuildRelativeURL(base, style.bkImage, resolved);
            style.bkImage.Set(static_cast<const unsigned short*>(resolved));
        }
        for (STYLE_DECLARATION& d : r->declarations) {
            if (IsBackgroundDeclaration(d.name))
                RebaseDeclaration(d.value, base);
        }
    }
}

} // namespace

bool CXDocServices::LoadStyleClass(const unsigned short* source, int mode, bool rebase, int editorList)
{
    if (!source || mode < 0 || mode > 2)
        return false;
    RulesChanged();
    try {
        CSafeBuf text(source), location, cacheFile;
        const bool isLocation = mode == 1 || (mode == 2 && text.Find('{') < 0);
        if (isLocation) {
            location = text;
            location.Trim();
            text.Empty();
            if (location.IsEmpty() || !ReadSheetLocation(m_owner, location, text, cacheFile))
                return false;
        }
        if (IsWebPageText(text)) {
            if (!cacheFile.IsEmpty())
                DeleteFile(static_cast<const unsigned short*>(cacheFile));
            return false;
        }
        RemoveCssComments(text);
        std::vector<SheetRule> rules;
        SplitSheet(text, rules);
        text.Empty();

        STYLE_CLASS*& list = editorList ? m_editorRules : m_workingRules;
        STYLE_CLASS** tail = &list;
        while (*tail)
            tail = &(*tail)->next;
        STYLE_CLASS** firstNew = tail;
        for (SheetRule& rule : rules) {
            if (!ParseRule(&rule.selector, &rule.body, *tail))
                break;
            while (*tail)
                tail = &(*tail)->next;
        }
        if (rebase && isLocation)
            RebaseImages(*firstNew, location);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool CXDocServices::ParseRule(CSafeBuf* selector, CSafeBuf* body, STYLE_CLASS*& list)
{
    RulesChanged();
    STYLE_CLASS* rule = nullptr;
    try {
        rule = new STYLE_CLASS;
        SetDefaultCSSValue(&rule->style);
        ParseSelect(rule, selector ? static_cast<const unsigned short*>(*selector) : nullptr);
        if (body)
            SplitDeclarations(*body, rule->declarations);
        for (STYLE_DECLARATION& d : rule->declarations)
            ParseCSSStyleString(d.name, d.value, rule->style);
    } catch (const std::bad_alloc&) {
        FreeStyleClassList(rule);
        return false;
    }
    STYLE_CLASS** tail = &list;
    while (*tail)
        tail = &(*tail)->next;
    *tail = rule;
    return true;
}

void CXDocServices::ParseSelect(STYLE_CLASS* rule, const unsigned short* text)
{
    ParseSelectorGroup(rule, text);
}

void CXDocServices::FreeStyleClass(int code)
{
    RulesChanged();
    if (code == 0 || code == 1) {
        FreeStyleClassList(m_workingRules);
        m_workingRules = nullptr;
    }
    if (code == 0 || code == 2) {
        FreeStyleClassList(m_savedRules);
        m_savedRules = nullptr;
    }
    if (code == 0 || code == 3) {
        FreeStyleClassList(m_editorRules);
        m_editorRules = nullptr;
    }
}

SELECTOR_STATEMENT* CXDocServices::CopyStyleStm(const SELECTOR_STATEMENT* statement)
{
    return CopyStyleStatement(statement);
}

bool CXDocServices::CopyStyles(STYLE_CLASS* source, STYLE_CLASS*& destination, bool prepend)
{
    RulesChanged();
    STYLE_CLASS* copy = CopyStyleClassList(source);
    if (source && !copy)
        return false;
    if (prepend) {
        STYLE_CLASS** tail = &copy;
        while (*tail)
            tail = &(*tail)->next;
        *tail = destination;
        destination = copy;
    } else {
        STYLE_CLASS* old = destination;
        destination = copy;
        FreeStyleClassList(old);
    }
    return true;
}
