// Reading a document or fragment into a tree and writing it back.

#include "element/markup/MarkupDocument.h"

#include "base/codec/Escaping.h"
#include "base/xml/Xml.h"
#include "base/xml/XmlNodeValue.h"
#include "base/xml/XmlPushParse.h"
#include "element/Element.h"
#include "element/factory/ElementFactory.h"
#include "element/markup/HeadParts.h"
#include "element/markup/MarkupEncoding.h"
#include "element/markup/MarkupEntities.h"
#include "element/markup/MarkupReader.h"
#include "element/markup/MarkupScan.h"
#include "element/markup/ParseToBody.h"
#include "element/markup/SourceCode.h"
#include "element/markup/TreeRepair.h"
#include "element/services/XHTMLServices.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace {

bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool StartsAt(const char* s, size_t n, size_t i, const char* word)
{
    for (size_t k = 0; word[k]; ++k) {
        if (i + k >= n || s[i + k] != word[k])
            return false;
    }
    return true;
}

// Skips what may stand before the root element: blanks, the XML
// declaration, processing instructions, the DOCTYPE and, with comments,
// comments. Answers the offset of the first other thing.
size_t SkipProlog(const char* s, size_t n, size_t i, bool comments)
{
    for (;;) {
        while (i < n && IsSpace(static_cast<unsigned char>(s[i])))
            ++i;
        const char* close = nullptr;
        if (StartsAt(s, n, i, "<?"))
            close = "?>";
        else if (comments && StartsAt(s, n, i, "<!--"))
            close = "-->";
        if (close) {
            size_t j = i + 2;
            while (j < n && !StartsAt(s, n, j, close))
                ++j;
            i = j < n ? j + std::char_traits<char>::length(close) : n;
            continue;
        }
        if (StartsAt(s, n, i, "<!DOCTYPE")) {
            i = DoctypeEnd(s, n, i);
            continue;
        }
        return i;
    }
}

// Where the content of a fragment starts: after the prolog's last XML
// declaration, processing instruction or DOCTYPE. Comments before that stay
// in the prolog; those after it are the fragment's first content.
size_t FragmentStart(const char* s, size_t n, size_t i)
{
    size_t content = SkipProlog(s, n, i, false);
    for (;;) {
        size_t at = content;
        while (StartsAt(s, n, at, "<!--")) {
            at += 4;
            while (at < n && !StartsAt(s, n, at, "-->"))
                ++at;
            at = at < n ? at + 3 : n;
            while (at < n && IsSpace(static_cast<unsigned char>(s[at])))
                ++at;
        }
        const size_t next = at == content ? at : SkipProlog(s, n, at, false);
        if (next == at)
            return content; // the comments, if any, open the content
        content = next;
    }
}

// The root element at i is html or body (a start tag, any prefix aside).
// The name is taken as the parser will see it: a named reference in it goes
// when the markup is prepared (or the parser refuses the tag).
bool IsDocumentRoot(const char* s, size_t n, size_t i)
{
    if (i >= n || s[i] != '<')
        return false;
    std::string name;
    for (size_t j = i + 1;
         j < n && !IsSpace(static_cast<unsigned char>(s[j])) && s[j] != '>' && s[j] != '/';) {
        const size_t reference = s[j] == '&' ? RemovedReferenceEnd(s, n, j) : j;
        if (reference != j) {
            j = reference;
            continue;
        }
        if (s[j] == ':')
            name.clear();
        else
            name += s[j];
        ++j;
    }
    return name == "html" || name == "body";
}

// An html element shows what it holds in its body: content beside the body
// goes into it (GatherIntoBody). Without a body a new one, appended to
// html, receives every child from the first one that is content (not a
// head part, a comment or blank text) on, head parts excepted. Without
// content the body is empty, and read as any empty body.
void GiveBody(xmlNode* html)
{
    for (xmlNode* c = html->children; c; c = c->next) {
        if (IsNamed(c, "body")) {
            GatherIntoBody(html, c);
            return;
        }
    }
    xmlNode* first = html->children;
    while (first && (IsHeadPart(first) || first->type == XML_COMMENT_NODE || IsBlankText(first)))
        first = first->next;
    xmlNode* body = xmlNewDocNode(html->doc, html->ns, reinterpret_cast<const xmlChar*>("body"), nullptr);
    if (!body)
        return;
    for (xmlNode* c = first; c;) {
        xmlNode* next = c->next;
        if (!IsHeadPart(c)) {
            xmlUnlinkNode(c);
            xmlAddChild(body, c); // may merge c into a text before it
        }
        c = next;
    }
    xmlAddChild(html, body);
}

// The XML declaration at the start of prolog names the encoding the
// document is written in, which is UTF-8 whatever the bytes read were: an
// encoding other than UTF-8 it names (a UTF-16 document's, or ISO-8859-1
// on a text all in ASCII) becomes UTF-8, so that the bytes written are
// read as what they are. The rest of the declaration stays as written.
void DeclareUtf8(std::string& prolog)
{
    if (prolog.compare(0, 5, "<?xml") != 0 || prolog.size() < 6
        || !IsSpace(static_cast<unsigned char>(prolog[5])))
        return;
    const size_t end = prolog.find("?>");
    if (end == std::string::npos)
        return;
    size_t at = prolog.find("encoding", 5);
    if (at == std::string::npos || at > end || !IsSpace(static_cast<unsigned char>(prolog[at - 1])))
        return;
    size_t i = at + 8;
    while (i < end && IsSpace(static_cast<unsigned char>(prolog[i])))
        ++i;
    if (i >= end || prolog[i] != '=')
        return;
    ++i;
    while (i < end && IsSpace(static_cast<unsigned char>(prolog[i])))
        ++i;
    if (i >= end || (prolog[i] != '"' && prolog[i] != '\''))
        return;
    const size_t value = i + 1;
    const size_t close = prolog.find(prolog[i], value);
    if (close == std::string::npos || close > end)
        return;
    std::string name = prolog.substr(value, close - value);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name != "utf-8")
        prolog.replace(value, close - value, "UTF-8");
}

} // namespace

CMarkupDocument::CMarkupDocument(CXHTMLServices* owner) : m_owner(owner) { }

CMarkupDocument::~CMarkupDocument() { Clear(); }

void CMarkupDocument::Clear()
{
    delete m_body;
    m_body = nullptr;
    m_whole = false;
    m_htmlStart.Empty();
    m_htmlEnd.Empty();
    m_prolog.Empty();
    m_before.clear();
    m_after.clear();
}

bool CMarkupDocument::Read(const char* bytes, size_t size, CSafeBuf& error)
{
    Clear();
    error.Empty();
    std::string decoded;
    if (StartsWithUtf16Mark(bytes, size)) {
        if (!Utf16MarkupToUtf8(bytes, size, decoded, error))
            return false;
        bytes = decoded.data();
        size = decoded.size();
    }
    // The parser takes a zero-terminated text: a zero byte would silently
    // end the markup there. XML allows no such character anywhere.
    if (const void* zero = std::memchr(bytes, 0, size)) {
        long line = 1;
        for (const char* p = bytes; p != zero; ++p)
            line += *p == '\n';
        error = "Incorrect XML<br />Reason: Char 0x0 out of allowed range<br />Line: ";
        error.AppendInt(line);
        return false;
    }
    size_t start = StartsAt(bytes, size, 0, "\xEF\xBB\xBF") ? 3 : 0;
    size_t root = SkipProlog(bytes, size, start, true);
    size_t end = size;
    while (end > root && IsSpace(static_cast<unsigned char>(bytes[end - 1])))
        --end;
    // A fragment is read as the content of a body, comments before its
    // first element included. A text with nothing in it goes to the parser
    // as it is, which reports it as empty.
    const bool fragment = root < end && !IsDocumentRoot(bytes, size, root);
    if (fragment)
        root = FragmentStart(bytes, size, start);

    // The bytes go to the parser as UTF-8 without a round trip through
    // UTF-16: as they are when nothing is to be rewritten (a whole document
    // without named references), else through a copy.
    std::string text;
    const char* markup = bytes + start;
    size_t length = size - start;
    if (fragment || MayHoldNamedReference(bytes + start, size - start)) {
        text.reserve(size - start + 16);
        text.append(bytes + start, (fragment ? root : size) - start);
        if (fragment) {
            text += "<body>";
            text.append(bytes + root, size - root);
            text += "</body>";
        }
        PrepareMarkupEntities(text);
        markup = text.data();
        length = text.size();
    }
    std::string prolog(bytes + start, root - start);
    while (!prolog.empty() && IsSpace(static_cast<unsigned char>(prolog.back())))
        prolog.pop_back();
    DeclareUtf8(prolog);
    const size_t estimate = ElementEstimate(bytes, size);

    if (m_parsePiece && ReadAsParsed(markup, length, size, fragment, prolog, estimate))
        return true;

    xmlDoc* doc = LoadXMLBytes(markup, length, &error, true);
    if (!doc)
        return false;

    // The DOCTYPE is kept as written (below).
    if (!SettleDeclaredEntities(doc, size, &error)) {
        XMLReleaseDom(doc);
        return false;
    }
    m_prolog.AssignUTF8(prolog.c_str());

    xmlNode* top = GetRootElement(doc);
    xmlNode* bodyNode = nullptr;
    if (top && IsNamed(top, "html")) {
        m_whole = true;
        GiveBody(top);
        bodyNode = KeepBesideBody(top);
    } else {
        m_whole = !fragment;
        bodyNode = top;
    }
    ReadBody(bodyNode, estimate, nullptr);
    XMLReleaseDom(doc);
    return m_body != nullptr;
}

xmlNode* CMarkupDocument::KeepBesideBody(xmlNode* html)
{
    ElementStartTag(html, m_htmlStart, m_htmlEnd);
    xmlNode* body = nullptr;
    CSafeBuf markup;
    for (xmlNode* c = html->children; c; c = c->next) {
        if (!body && IsNamed(c, "body")) {
            body = c;
            continue;
        }
        if (c->type != XML_ELEMENT_NODE && c->type != XML_COMMENT_NODE)
            continue;
        XMLGetNodeXML(c, markup);
        (body ? m_after : m_before).push_back(markup);
    }
    return body;
}

void CMarkupDocument::ReadBody(xmlNode* bodyNode, size_t estimate, CXmlPushParse* parse)
{
    // The registry makes room for the elements at once, rather than
    // rebuilding its set of addresses at every doubling of a large tree.
    if (m_owner) {
        CElementRegistry& registry = m_owner->m_doc.m_registry;
        registry.Reserve(static_cast<size_t>(registry.GetCount()) + estimate);
    }
    // The images made with the tree are noted: only their holders can need
    // the cure, and those are found without a walk of the whole tree.
    CImagesMade images;
    m_body = CreateElement("body", m_owner ? m_owner->m_doc.m_workingRules : nullptr, nullptr, m_owner);
    if (m_body && bodyNode) {
        const CRepairAsReadScope repairing(m_body);
        ReadConsumingNodes(m_body, bodyNode, parse);
        m_body->CheckDocument();
        CureImageHolders(m_body, images.Ids());
    }
}

bool CMarkupDocument::ReadAsParsed(
    const char* markup, size_t length, size_t size, bool fragment, const std::string& prolog, size_t estimate)
{
    CXmlPushParse parse(markup, length, m_parsePiece);
    // A document with content beside its body, or without a body, is read
    // from its whole parse, and so is one that ParseToBody leaves.
    xmlNode* top = nullptr;
    xmlNode* body = ParseToBody(parse, true, &top);
    if (!body)
        return false;
    const bool html = body != top;
    ReadBody(body, estimate, &parse);
    xmlDoc* doc = parse.Finish();
    bool read = doc != nullptr;
    if (read && html) {
        for (xmlNode* c = body->next; c && read; c = c->next)
            read = !GoesIntoBody(c);
    }
    if (read)
        read = SettleDeclaredEntities(doc, size, nullptr);
    if (!read) {
        if (doc)
            XMLReleaseDom(doc);
        Clear();
        return false;
    }
    m_prolog.AssignUTF8(prolog.c_str());
    m_whole = html || !fragment;
    if (html)
        KeepBesideBody(top);
    XMLReleaseDom(doc);
    return m_body != nullptr;
}

void CMarkupDocument::Write(CSafeBuf& out, int flags) const
{
    out.Empty();
    if (!m_body)
        return;
    const bool indent = (flags & kSourceIndent) != 0;
    // Written in order into out: what stands before the body, the body,
    // what follows it.
    CSafeBuf s1, s2, s3;
    if (!m_prolog.IsEmpty()) {
        out += m_prolog;
        if (indent)
            out += "\r\n";
    }
    if (!m_whole) {
        // The body's content: the body written one level up, its own tags
        // taken off.
        const int start = out.Length();
        m_body->AppendSourceCode(out, -1, flags, s1, s2, s3, nullptr);
        int open = out.Find('>', start);
        int close = out.ReverseFind('<');
        if (open >= 0 && close > open) {
            out.CutAt(close);
            out.Delete(start, open + 1 - start);
        }
        if (indent && out.GetAt(start) == '\r' && out.GetAt(start + 1) == '\n')
            out.Delete(start, 2);
        return;
    }
    const bool html = !m_htmlStart.IsEmpty();
    if (!html) {
        m_body->AppendSourceCode(out, 0, flags, s1, s2, s3, nullptr);
        return;
    }
    auto kept = [&](CSafeBuf& to, const std::vector<CSafeBuf>& nodes) {
        for (const CSafeBuf& node : nodes) {
            if (indent)
                to += "\t";
            to += node;
            if (indent)
                to += "\r\n";
        }
    };
    out += m_htmlStart;
    if (indent)
        out += "\r\n";
    kept(out, m_before);
    m_body->AppendSourceCode(out, indent ? 1 : 0, flags, s1, s2, s3, nullptr);
    kept(out, m_after);
    out += m_htmlEnd;
    if (indent)
        out += "\r\n";
}

void ElementStartTag(xmlNode* element, CSafeBuf& out, CSafeBuf& end)
{
    CSafeBuf tag, value;
    MacGetTagName(element, tag);
    end = "</";
    end += tag;
    end += ">";
    out = "<";
    out += tag;
    for (xmlNs* ns = element->nsDef; ns; ns = ns->next) {
        out += " xmlns";
        if (ns->prefix) {
            value.AssignUTF8(reinterpret_cast<const char*>(ns->prefix));
            out += ":";
            out += value;
        }
        XmlNamespaceURI(ns, value);
        EscapeXMLChar(value, false);
        out += "=\"";
        out += value;
        out += "\"";
    }
    for (xmlAttr* a = element->properties; a; a = a->next) {
        XMLGetAttrInfo(a, tag, value);
        MacGetTagName(reinterpret_cast<xmlNode*>(a), tag);
        EscapeXMLChar(value, false);
        out += " ";
        out += tag;
        out += "=\"";
        out += value;
        out += "\"";
    }
    out += ">";
}

// Counted in blocks of at most 255 bytes into a byte, which the compiler
// runs many bytes at a time.
size_t ElementEstimate(const char* s, size_t n)
{
    size_t tags = 0;
    for (size_t at = 0; at < n;) {
        const size_t end = std::min(n, at + 255);
        unsigned char block = 0;
        for (; at < end; ++at)
            block += s[at] == '<';
        tags += block;
    }
    return tags + tags / 4;
}
