// CSrcElement: reading markup into the tree from the parser's events as they
// come (ReadStreamed), for LoadDocStreamed.
//
// LoadPreparedDoc has the parser build its document tree, walks it (Read)
// and frees it; for a megabyte of markup, building and freeing that tree
// costs more than the parse. This read makes the same CSrcElement tree with
// the same steps (ReadAttribute, ReadText, ReadElementStart ... of Read),
// fed by the parser's events. It takes only the shapes whose events map onto
// the document tree plainly: a root "body", or a root "html" that holds
// nothing but its "body" (no text, comment or instruction beside it, so no
// node is kept as markup); no document type (and so no entity but the five
// of XML); and nothing the parser warns of or rejects. On anything else it
// stops, leaves the root as it found it and answers false, and the text is
// read through the document tree.
//
// What the document tree would hold, taken from the events:
// - a text node is the run of character events between two other events
//   (the tree joins them), and so is a run of character data sections; it
//   is followed when any other event comes before its element's end;
// - an attribute's value comes from the parser with "&" written "&#38;"
//   (the parser keeps references for the tree's builder to decode, and a
//   predefined "&amp;" or a reference to "&" is the only one left when no
//   entity is declared): the tree's text has "&" there.

#include "document/SrcElement.h"

#include "base/xml/XmlEntityLoader.h"
#include "base/xml/XmlLoad.h"
#include "document/SrcElementRead.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

struct SrcStreamReader
{
    explicit SrcStreamReader(CSrcElement& root) : root(root) { }

    // An element of the tree whose children are being read.
    struct Open
    {
        CSrcElement* element;
        bool preserveSpace;
        bool afterInline;
    };

    CSrcElement& root;
    xmlParserCtxt* ctxt = nullptr;
    SrcReadBuffers buffers;
    std::vector<Open> open; // the root (the body) first, while inside it
    int depth = 0;          // elements open in the parse, html and body among them
    bool htmlRoot = false;
    bool bodyRead = false;
    bool stopped = false;
    // The text node being gathered: its bytes, and whether it is a character
    // data section.
    std::string text;
    bool textPending = false;
    bool textIsSection = false;
    std::string value; // an attribute's value, decoded

    static SrcStreamReader& Of(void* ctx)
    {
        return *static_cast<SrcStreamReader*>(static_cast<xmlParserCtxt*>(ctx)->_private);
    }

    void Stop()
    {
        if (!stopped)
            xmlStopParser(ctxt);
        stopped = true;
    }

    // The pending text node goes into the element being read; followed:
    // another node comes after it.
    void FlushText(bool followed)
    {
        if (!textPending)
            return;
        textPending = false;
        Open& at = open.back();
        at.element->ReadText(reinterpret_cast<const xmlChar*>(text.c_str()), static_cast<int>(text.size()),
            followed, at.preserveSpace, at.afterInline);
        text.clear();
    }

    // A node other than an element outside the body: outside the root the
    // tree has no place for it (it is dropped there too); inside the html
    // element it would be kept as markup, which this read does not do.
    bool OutsideBody()
    {
        if (!open.empty())
            return false;
        if (depth > 0)
            Stop();
        return true;
    }

    // The value of the attribute at attributes (five pointers an attribute:
    // local name, prefix, URI, value, end) as the document tree's text holds
    // it.
    const xmlChar* Value(const xmlChar** attribute)
    {
        value.assign(
            reinterpret_cast<const char*>(attribute[3]), static_cast<size_t>(attribute[4] - attribute[3]));
        for (size_t at = value.find("&#38;"); at != std::string::npos; at = value.find("&#38;", at + 1))
            value.erase(at + 1, 4);
        return reinterpret_cast<const xmlChar*>(value.c_str());
    }

    void ReadAttributes(CSrcElement& element, int count, const xmlChar** attributes)
    {
        for (int i = 0; i < count; ++i)
            element.ReadAttribute(
                attributes[5 * i + 1], attributes[5 * i], Value(attributes + 5 * i), buffers);
    }

    static xmlNs Namespace(const xmlChar** namespaces, int i)
    {
        xmlNs ns{};
        ns.prefix = namespaces[2 * i];
        ns.href = namespaces[2 * i + 1];
        return ns;
    }

    void ReadNamespaces(CSrcElement& element, int count, const xmlChar** namespaces)
    {
        for (int i = 0; i < count; ++i) {
            const xmlNs ns = Namespace(namespaces, i);
            element.ReadNamespace(&ns, buffers);
        }
    }

    // The html root's start tag, as LoadPreparedDoc writes it: namespace
    // declarations, then the attributes that have a value.
    void KeepHtmlStartTag(
        int namespaceCount, const xmlChar** namespaces, int count, const xmlChar** attributes)
    {
        root.m_document = std::make_unique<CSrcElement::DocumentParts>();
        CSafeBuf& out = root.m_document->htmlStartTag;
        out = "<html";
        for (int i = 0; i < namespaceCount; ++i) {
            const xmlNs ns = Namespace(namespaces, i);
            SrcAppendNamespaceDeclaration(out, &ns);
        }
        for (int i = 0; i < count; ++i) {
            const xmlChar* text = Value(attributes + 5 * i);
            if (!*text)
                continue;
            SrcQualifiedName(attributes[5 * i + 1], attributes[5 * i], buffers);
            buffers.value.AssignUTF8(text);
            SrcAppendAttribute(out, buffers.name, buffers.value);
        }
        out += '>';
    }

    // Runs a step of the read; memory running out stops the read.
    template <class Step>
    static void Guarded(void* ctx, Step step)
    {
        SrcStreamReader& r = Of(ctx);
        if (r.stopped)
            return;
        try {
            step(r);
        } catch (...) {
            r.Stop();
        }
    }

    void StartElement(const xmlChar* local, const xmlChar* prefix, int namespaceCount,
        const xmlChar** namespaces, int count, int defaulted, const xmlChar** attributes)
    {
        ++depth;
        if (defaulted) // defaults come from a document type only
            return Stop();
        const char* name = reinterpret_cast<const char*>(local);
        if (open.empty()) {
            if (depth == 1 && !prefix && std::strcmp(name, "html") == 0) {
                htmlRoot = true;
                KeepHtmlStartTag(namespaceCount, namespaces, count, attributes);
                return;
            }
            const bool body = !prefix && std::strcmp(name, "body") == 0;
            if (!body || bodyRead || depth != (htmlRoot ? 2 : 1))
                return Stop();
            bodyRead = true;
            ReadAttributes(root, count, attributes);
            ReadNamespaces(root, namespaceCount, namespaces);
            open.push_back({&root, false, root.ChildrenStartAfterInline(false)});
            return;
        }
        FlushText(true);
        const Open parent = open.back();
        CSrcElement* child = parent.element->ReadElementStart(prefix, local, buffers);
        ReadAttributes(*child, count, attributes);
        ReadNamespaces(*child, namespaceCount, namespaces);
        const bool preserve = parent.preserveSpace || child->IsTag("pre");
        open.push_back({child, preserve, child->ChildrenStartAfterInline(parent.afterInline)});
    }

    void EndElement()
    {
        --depth;
        if (open.empty())
            return; // the html element
        FlushText(false);
        CSrcElement* child = open.back().element;
        open.pop_back();
        if (!open.empty())
            open.back().element->ReadElementEnd(child, open.back().afterInline);
    }

    void Gather(const xmlChar* bytes, int length, bool section)
    {
        if (OutsideBody())
            return;
        if (textPending && textIsSection != section)
            FlushText(true);
        textPending = true;
        textIsSection = section;
        text.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
    }

    // The parser's events.
    static void OnStart(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar*,
        int namespaceCount, const xmlChar** namespaces, int count, int defaulted, const xmlChar** attributes)
    {
        Guarded(ctx, [&](SrcStreamReader& r) {
            r.StartElement(local, prefix, namespaceCount, namespaces, count, defaulted, attributes);
        });
    }
    static void OnEnd(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*)
    {
        Guarded(ctx, [](SrcStreamReader& r) { r.EndElement(); });
    }
    static void OnCharacters(void* ctx, const xmlChar* bytes, int length)
    {
        Guarded(ctx, [&](SrcStreamReader& r) { r.Gather(bytes, length, false); });
    }
    static void OnSection(void* ctx, const xmlChar* bytes, int length)
    {
        Guarded(ctx, [&](SrcStreamReader& r) { r.Gather(bytes, length, true); });
    }
    static void OnComment(void* ctx, const xmlChar* content)
    {
        Guarded(ctx, [&](SrcStreamReader& r) {
            if (r.OutsideBody())
                return;
            r.FlushText(true);
            r.open.back().element->ReadComment(content);
        });
    }
    // An instruction is a node of the tree that the reader passes over.
    static void OnInstruction(void* ctx, const xmlChar*, const xmlChar*)
    {
        Guarded(ctx, [](SrcStreamReader& r) {
            if (!r.OutsideBody())
                r.FlushText(true);
        });
    }
    // A document type, an entity reference, a warning or an error.
    static void OnReference(void* ctx, const xmlChar*) { Of(ctx).Stop(); }
    static void OnSubset(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) { Of(ctx).Stop(); }
    static void OnError(void* ctx, xmlError*) { Of(ctx).Stop(); } // ctx: the parser's context
    static void OnMessage(void* ctx, const char*, ...) { Of(ctx).Stop(); }

    // Parses bytes; true when every event was read.
    bool Parse(const std::string& bytes)
    {
        XmlInstallEntityLoader();
        ctxt = xmlNewParserCtxt();
        if (ctxt && !ctxt->sax) {
            xmlFreeParserCtxt(ctxt);
            ctxt = nullptr;
        }
        if (!ctxt)
            return false;
        xmlSAXHandler* sax = ctxt->sax;
        sax->startElementNs = OnStart;
        sax->endElementNs = OnEnd;
        // The same function for both, as for the document tree's builder: the
        // parser then reports no white space as ignorable.
        sax->characters = OnCharacters;
        sax->ignorableWhitespace = OnCharacters;
        sax->cdataBlock = OnSection;
        sax->comment = OnComment;
        sax->processingInstruction = OnInstruction;
        sax->reference = OnReference;
        sax->internalSubset = OnSubset;
        sax->externalSubset = OnSubset;
        sax->serror = OnError;
        sax->warning = OnMessage;
        sax->error = OnMessage;
        sax->fatalError = OnMessage;
        ctxt->userData = ctxt;
        ctxt->_private = this;
        static const char empty = 0;
        xmlDoc* doc = xmlCtxtReadMemory(ctxt, bytes.empty() ? &empty : bytes.data(),
            static_cast<int>(bytes.size()), "noname.xml", "UTF-8", XML_PARSE_NONET);
        const bool read = doc && !stopped && bodyRead && open.empty() && depth == 0;
        xmlFreeDoc(doc);
        xmlFreeParserCtxt(ctxt);
        ctxt = nullptr;
        return read;
    }
};

bool CSrcElement::ReadStreamed(const CSafeBuf& markup)
{
    if (m_firstChild || m_attributes.GetCount())
        return false;
    SrcStreamReader reader(*this);
    bool read = false;
    try {
        const std::string bytes = XmlTextBytes(markup, static_cast<size_t>(markup.Length()));
        read = bytes.size() <= static_cast<size_t>(INT_MAX) && reader.Parse(bytes);
    } catch (...) {
        if (reader.ctxt)
            xmlFreeParserCtxt(reader.ctxt);
        read = false;
    }
    if (!read) {
        while (m_firstChild)
            RemoveChild(m_firstChild);
        m_attributes.RemoveAll();
        m_document.reset();
    }
    return read;
}
