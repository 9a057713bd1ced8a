// The tag tables.

#include "element/factory/TagTables.h"

#include "base/text/U16.h"

const char* const XHTMLTags[] = {"address", "a", "abbr", "acronym", "area", "body", "blockquote", "base", "b",
    "big", "bdo", "br", "button", "cite", "code", "caption", "col", "colgroup", "del", "div", "dl", "dt",
    "dd", "dfn", "del", "em", "fieldset", "form", "hr", "html", "head", "h1", "h2", "h3", "h4", "h5", "h6",
    "ins", "i", "img", "input", "meta", "map", "noscript", "kbd", "link", "li", "label", "legend", "ol",
    "object", "optgroup", "option", "p", "pre", "param", "q", "ruby", "rb", "rbc", "rp", "rt", "rtc",
    "script", "style", "samp", "strong", "small", "sub", "sup", "select", "span", "textarea", "tt", "title",
    "table", "thead", "tbody", "tfoot", "td", "th", "tr", "ul", "var", nullptr};

const char* const InlineTags[] = {"a", "abbr", "acronym", "cite", "code", "dfn", "em", "kbd", "samp",
    "strong", "var", "b", "big", "i", "small", "sub", "sup", "tt", "bdo", "br", "button", "del", "ins", "img",
    "input", "label", "map", "q", "ruby", "select", "span", "textarea", "noscript", "col", "object", nullptr};

const char* const SupportHTMLTag[] = {"body", "script", "noscript", "table", "tr", "td", "th", "thead",
    "tbody", "tfoot", "caption", "ul", "ol", "li", "dl", "p", "b", "i", "a", "strong", "em", "br", "hr",
    "img", "blockquote", "address", "h1", "h2", "h3", "h4", "h5", "h6", "div", "span", "q", "sup", "sub",
    "abbr", "acronym", "cite", "code", "dfn", "kbd", "samp", "var", "select", "head", "style", "link", "form",
    "fieldset", "label", "legend", "input", "textarea", "option", "optgroup", "button", "pre", nullptr};

const char* const StructTags[]
    = {"html", "head", "title", "base", "link", "meta", "script", "style", "body", nullptr};

const char* const HeadingTags[] = {"h1", "h2", "h3", "h4", "h5", "h6", nullptr};

const char* const ListTags[] = {"dl", "ol", "ul", "dt", "dd", "li", nullptr};

const char* const BlockTags[] = {"address", "blockquote", "del", "ins", "div", "fieldset", "form", "hr",
    "noscript", "p", "pre", "table", "script", "caption", "colgroup", "thead", "tbody", "tfoot", "td", "th",
    "tr", "col", nullptr};

const char* const BLOCKTYPE[] = {"body", "p", "pre", "table", "hr", "div", "form", "address", "blockquote",
    "del", "ins", "fieldset", "noscript", "script", nullptr};

int FindTagInList(const char* const* list, const unsigned short* tag, bool ignoreCase)
{
    if (!list || !tag)
        return -1;
    for (int i = 0; list[i]; ++i) {
        if (ignoreCase ? U16icmp(tag, list[i]) == 0 : U16cmp(tag, list[i]) == 0)
            return i;
    }
    return -1;
}

bool IsTagInList(const char* const* list, const unsigned short* tag) { return FindTagInList(list, tag) >= 0; }

int TagListLength(const char* const* list)
{
    int n = 0;
    while (list && list[n])
        ++n;
    return n;
}
