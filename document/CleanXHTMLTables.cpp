// The attribute tables of the markup cleaner.

#include "document/CleanXHTMLTables.h"

#include "base/text/U16.h"

namespace {

const char* const kTable[]
    = {"width", "rules", "datapagesize", "frame", "cellpadding", "cellspacing", "border", "summary", nullptr};
const char* const kImg[] = {"src", "height", "width", "alt", "ismap", "longdesc", "usemap", nullptr};
const char* const kRowGroup[] = {"valign", "align", "charoff", "char", nullptr};
const char* const kCell[] = {
    "abbr", "axis", "valign", "align", "colspan", "headers", "rowspan", "charoff", "char", "scope", nullptr};
const char* const kA[] = {"href", "accesskey", "charset", "coords", "hreflang", "onblur", "onfocus", "rel",
    "rev", "shape", "tabindex", "type", nullptr};
const char* const kForm[]
    = {"action", "method", "accept", "accept-charsets", "enctype", "onreset", "onsubmit", nullptr};
const char* const kLegend[] = {"accesskey", nullptr};
const char* const kOption[] = {"selected", "value", "disabled", "label", nullptr};
const char* const kOptgroup[] = {"label", "disabled", nullptr};
const char* const kTextarea[] = {"cols", "rows", "name", "accesskey", "disabled", "readonly", "tabindex",
    "onblur", "onchange", "onfocus", "onselect", nullptr};
const char* const kInput[] = {"alt", "checked", "maxlength", "name", "size", "type", "text", "password",
    "checkbox", "radio", "submit", "image", "reset", "button", "hidden", "file", "value", "accept",
    "accesskey", "disabled", "ismap", "onblur", "onchange", "onfocus", "onselect", "readonly", "src",
    "tabindex", "usemap", nullptr};
const char* const kSelect[]
    = {"multiple", "name", "size", "disabled", "onblur", "onchange", "onfocus", "tabindex", nullptr};
const char* const kLabel[] = {"for", "accesskey", "onblur", "onfocus", nullptr};
const char* const kButton[]
    = {"name", "type", "value", "accesskey", "disabled", "onblur", "onfocus", "tabindex", nullptr};

struct TagAttributes
{
    const char* tag;
    const char* const* attributes;
};

const TagAttributes kValidProperties[] = {{"table", kTable}, {"img", kImg}, {"tr", kRowGroup},
    {"thead", kRowGroup}, {"tfoot", kRowGroup}, {"tbody", kRowGroup}, {"td", kCell}, {"th", kCell}, {"a", kA},
    {"form", kForm}, {"legend", kLegend}, {"option", kOption}, {"optgroup", kOptgroup},
    {"textarea", kTextarea}, {"input", kInput}, {"select", kSelect}, {"label", kLabel}, {"button", kButton}};

const char* const kEventAttributes[]
    = {"onclick", "ondblclick", "onmousedown", "onmouseup", "onmouseover", "onmousemove", "onmouseout",
        "onkeypress", "onkeydown", "onkeyup", "onload", "onunload", "onblur", "onchange", "ondragdrop",
        "onerror", "onfocus", "onmove", "onreset", "onresize", "onselect", "onsubmit", "onabort", nullptr};

} // namespace

const char* const* ValidProperties(const unsigned short* tag)
{
    if (!tag)
        return nullptr;
    for (const TagAttributes& row : kValidProperties) {
        if (U16cmp(tag, row.tag) == 0)
            return row.attributes;
    }
    return nullptr;
}

bool IsEventAttribute(const unsigned short* name)
{
    if (!name)
        return false;
    for (int i = 0; kEventAttributes[i]; ++i) {
        if (U16icmp(name, kEventAttributes[i]) == 0)
            return true;
    }
    return false;
}
