// Names, texts and markup of nodes.

#include "base/xml/XmlNodeValue.h"

#include <cctype>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/text/SafeBuf.h"
#include "base/text/U16.h"
#include "base/text/Utf.h"
#include "base/xml/XmlInternal.h"
#include "platform/common/Utf8.h"

void MacGetTagName(xmlNode* node, CSafeBuf& name)
{
    // A short ASCII name (nearly every one) is copied as it is, with no
    // UTF-8 text made on the way.
    unsigned short units[40];
    if (XmlAsciiName(node, units, 40) >= 0) {
        name.Empty();
        name = static_cast<const unsigned short*>(units);
        return;
    }
    std::string q = XmlQualifiedName(node);
    XmlFromUtf8(reinterpret_cast<const xmlChar*>(q.c_str()), name);
}

namespace {

// Widens the ASCII bytes of text after the at units already in out; -1 when
// a byte is not ASCII or the text does not fit before the terminator.
int WidenAscii(const xmlChar* text, unsigned short* out, int at, int room)
{
    for (; *text; ++text, ++at) {
        if (*text >= 0x80 || at >= room - 1)
            return -1;
        out[at] = *text;
    }
    return at;
}

} // namespace

int XmlAsciiName(const xmlNode* node, unsigned short* out, int room)
{
    if (room < 1)
        return -1;
    out[0] = 0;
    if (!XmlIsNode(node) || node->name == nullptr)
        return 0;
    int n = 0;
    // As XmlQualifiedName: only elements and attributes carry a namespace.
    if ((node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) && node->ns != nullptr
        && node->ns->prefix != nullptr) {
        n = WidenAscii(node->ns->prefix, out, 0, room);
        if (n < 0 || n >= room - 1)
            return -1;
        out[n++] = ':';
    }
    n = WidenAscii(node->name, out, n, room);
    if (n >= 0)
        out[n] = 0;
    return n;
}

void GetNameValue(xmlNode* node, CSafeBuf& name, CSafeBuf& value, bool trim, unsigned int)
{
    MacGetTagName(node, name);
    value.Empty();
    if (XmlIsNode(node)) {
        if ((node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) && node->content)
            XmlFromUtf8(node->content, value);
        else
            XmlNodeText(node, value);
    }
    if (trim) {
        name.Trim();
        value.Trim();
    }
}

namespace {

xmlAttr* FindAttr(const xmlNode* node, const std::string& name)
{
    if (!XmlIsNode(node) || node->type != XML_ELEMENT_NODE)
        return nullptr;
    for (xmlAttr* a = node->properties; a; a = a->next)
        if (XmlQualifiedName(reinterpret_cast<const xmlNode*>(a)) == name)
            return a;
    return nullptr;
}

bool NodeValue(const std::string& name, CSafeBuf& value, xmlNode* parent, const std::string& attrName,
    const unsigned short* attrValue)
{
    value.Empty();
    if (!XmlIsNode(parent) || parent->type == XML_ENTITY_REF_NODE)
        return false;
    bool filter = !attrName.empty() && U16len(attrValue) > 0;
    for (xmlNode* child = parent->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !child->name
            || name != reinterpret_cast<const char*>(child->name))
            continue;
        if (filter) {
            xmlAttr* attr = FindAttr(child, attrName);
            if (!attr)
                continue;
            CSafeBuf text;
            XmlNodeText(reinterpret_cast<xmlNode*>(attr), text);
            if (text != attrValue)
                continue;
        }
        XmlNodeText(child, value);
        return true;
    }
    return false;
}

} // namespace

bool GetNodeValue(const unsigned short* name, CSafeBuf& value, xmlNode* parent, unsigned int,
    const unsigned short* attrName, const unsigned short* attrValue)
{
    if (U16len(name) == 0) {
        value.Empty();
        return false;
    }
    return NodeValue(ToUTF8String(name), value, parent, ToUTF8String(attrName), attrValue);
}

bool GetNodeValue(const char* name, CSafeBuf& value, xmlNode* parent, unsigned int, const char* attrName,
    const unsigned short* attrValue)
{
    if (!name || !*name) {
        value.Empty();
        return false;
    }
    return NodeValue(name, value, parent, attrName ? attrName : "", attrValue);
}

bool FindAttribute(const char* name, CSafeBuf& value, xmlNode* node)
{
    value.Empty();
    if (!name)
        return false;
    xmlAttr* attr = FindAttr(node, name);
    if (!attr)
        return false;
    XmlNodeText(reinterpret_cast<xmlNode*>(attr), value);
    return true;
}

bool FindAttribute(const unsigned short* name, CSafeBuf& value, xmlNode* node)
{
    value.Empty();
    if (!name)
        return false;
    return FindAttribute(ToUTF8String(name).c_str(), value, node);
}

bool XMLGetAttrInfo(xmlAttr* attr, CSafeBuf& name, CSafeBuf& value)
{
    name.Empty();
    value.Empty();
    if (!attr || attr->type != XML_ATTRIBUTE_NODE)
        return false;
    xmlNode* node = reinterpret_cast<xmlNode*>(attr);
    XmlNodeText(node, value);
    if (!value.IsEmpty())
        MacGetTagName(node, name);
    return true;
}

void XmlNamespaceURI(const xmlNs* ns, CSafeBuf& uri)
{
    uri.Empty();
    if (!ns || !ns->href)
        return;
    const char* href = reinterpret_cast<const char*>(ns->href);
    if (!std::strstr(href, "&#")) {
        XmlFromUtf8(ns->href, uri);
        return;
    }
    // Decimal and hexadecimal references to a character are decoded; any
    // other "&" stays as it is.
    std::string text;
    for (const char* p = href; *p;) {
        unsigned long code = 0;
        const char* q = p + 2;
        bool hex = false;
        if (p[0] == '&' && p[1] == '#') {
            hex = *q == 'x';
            q += hex;
            const char* digits = q;
            while (code <= 0x10FFFF
                && (hex ? std::isxdigit(static_cast<unsigned char>(*q))
                        : std::isdigit(static_cast<unsigned char>(*q)))) {
                code = code * (hex ? 16 : 10)
                    + static_cast<unsigned long>(std::isdigit(static_cast<unsigned char>(*q))
                            ? *q - '0'
                            : (std::tolower(static_cast<unsigned char>(*q)) - 'a' + 10));
                ++q;
            }
            if (q != digits && *q == ';' && code > 0 && code <= 0x10FFFF
                && (code < 0xD800 || code > 0xDFFF)) {
                unsigned char bytes[4];
                text.append(reinterpret_cast<const char*>(bytes),
                    static_cast<size_t>(qm::utf8::Encode(static_cast<char32_t>(code), bytes)));
                p = q + 1;
                continue;
            }
        }
        text += *p++;
    }
    XmlFromUtf8(reinterpret_cast<const xmlChar*>(text.c_str()), uri);
}

bool GetNamespaceInfo(xmlNode* node, CSafeBuf* prefix, CSafeBuf* uri)
{
    if (prefix)
        prefix->Empty();
    if (uri)
        uri->Empty();
    if (!XmlIsNode(node) || (node->type != XML_ELEMENT_NODE && node->type != XML_ATTRIBUTE_NODE) || !node->ns)
        return false;
    if (prefix && node->ns->prefix)
        XmlFromUtf8(node->ns->prefix, *prefix);
    if (uri)
        XmlNamespaceURI(node->ns, *uri);
    return true;
}

bool GetElementXML(xmlNode* node, CSafeBuf& out)
{
    out.Empty();
    if (!XmlIsNode(node))
        return false;
    std::string tag = "<" + XmlQualifiedName(node);
    if (node->type == XML_ELEMENT_NODE) {
        for (xmlAttr* a = node->properties; a; a = a->next) {
            const xmlNode* first = a->children;
            if (!first || (first->type != XML_TEXT_NODE && first->type != XML_CDATA_SECTION_NODE)
                || !first->content || !*first->content)
                continue;
            tag += ' ';
            tag += XmlQualifiedName(reinterpret_cast<const xmlNode*>(a));
            tag += "=\"";
            tag += reinterpret_cast<const char*>(first->content);
            tag += '"';
        }
    }
    tag += '>';
    XmlFromUtf8(reinterpret_cast<const xmlChar*>(tag.c_str()), out);
    return true;
}

namespace {

// The library writes a namespace URI as it holds it, without escaping, and
// holds "&lt;" and "&gt;" as the signs themselves ("&amp;" stays a character
// reference): a "<" would make the markup written unreadable, a ">" would
// pass for the end of the start tag. Such URIs of a subtree are escaped
// while it is written and given back as they were after.
class EscapedNamespaceURIs
{
public:
    explicit EscapedNamespaceURIs(xmlNode* node) { Escape(node); }
    ~EscapedNamespaceURIs()
    {
        for (auto& [ns, original] : m_swapped) {
            xmlFree(const_cast<xmlChar*>(ns->href));
            ns->href = original;
        }
    }
    EscapedNamespaceURIs(const EscapedNamespaceURIs&) = delete;
    EscapedNamespaceURIs& operator=(const EscapedNamespaceURIs&) = delete;

private:
    void Escape(xmlNode* node)
    {
        if (!node || node->type != XML_ELEMENT_NODE)
            return;
        for (xmlNs* ns = node->nsDef; ns; ns = ns->next) {
            const char* href = reinterpret_cast<const char*>(ns->href);
            if (!href || !std::strpbrk(href, "<>"))
                continue;
            std::string escaped;
            for (const char* p = href; *p; ++p) {
                if (*p == '<')
                    escaped += "&lt;";
                else if (*p == '>')
                    escaped += "&gt;";
                else
                    escaped += *p;
            }
            xmlChar* copy = xmlStrdup(reinterpret_cast<const xmlChar*>(escaped.c_str()));
            if (!copy)
                continue;
            m_swapped.emplace_back(ns, const_cast<xmlChar*>(ns->href));
            ns->href = copy;
        }
        for (xmlNode* c = node->children; c; c = c->next)
            Escape(c);
    }

    std::vector<std::pair<xmlNs*, xmlChar*>> m_swapped;
};

} // namespace

bool XMLGetNodeXML(xmlNode* node, CSafeBuf& out)
{
    out.Empty();
    if (!XmlIsNode(node))
        return false;
    xmlBufferPtr buf = xmlBufferCreate();
    if (!buf)
        return false;
    int written = 0;
    {
        EscapedNamespaceURIs escaped(node);
        written = xmlNodeDump(buf, node->doc, node, 0, 0);
    }
    bool ok = written >= 0;
    if (ok)
        XmlFromUtf8(xmlBufferContent(buf), out);
    xmlBufferFree(buf);
    return ok;
}
