#include "base/xml/XmlCheck.h"

#include "base/xml/XmlEntityLoader.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <climits>
#include <cstring>

namespace {

struct Shape
{
    const char* root;
    const char* child;
    int depth = 0;
    bool rootSeen = false;
    bool childSeen = false;
};

Shape& Of(void* ctx) { return *static_cast<Shape*>(static_cast<xmlParserCtxt*>(ctx)->_private); }

// The element's name as the document tree names it: its local name, unless
// its prefix names no namespace, when the tree keeps "prefix:name" whole.
bool Named(const xmlChar* local, const xmlChar* prefix, const xmlChar* uri, const char* name)
{
    return (!prefix || uri) && std::strcmp(reinterpret_cast<const char*>(local), name) == 0;
}

void OnStart(void* ctx, const xmlChar* local, const xmlChar* prefix, const xmlChar* uri, int, const xmlChar**,
    int, int, const xmlChar**)
{
    Shape& s = Of(ctx);
    if (s.depth == 0)
        s.rootSeen = Named(local, prefix, uri, s.root);
    else if (s.depth == 1 && s.rootSeen && Named(local, prefix, uri, s.child))
        s.childSeen = true;
    ++s.depth;
}

void OnEnd(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*) { --Of(ctx).depth; }

void Quiet(void*, xmlError*) { }

} // namespace

bool XmlParsesWithChild(const char* bytes, size_t size, const char* root, const char* child)
{
    if (!bytes || size == 0 || size > static_cast<size_t>(INT_MAX))
        return false;
    // A document type may declare entities, which the load expands after the
    // parse under a budget of its own: such a text is not vouched for.
    static const char kDoctype[] = "<!DOCTYPE";
    if (memmem(bytes, size, kDoctype, sizeof kDoctype - 1))
        return false;
    XmlInstallEntityLoader();
    xmlParserCtxt* ctxt = xmlNewParserCtxt();
    if (!ctxt)
        return false;
    bool wellFormed = false;
    if (xmlSAXHandler* sax = ctxt->sax) {
        Shape shape{root, child};
        // Nothing is built: the document node the parser starts with is all
        // it makes.
        sax->startElementNs = OnStart;
        sax->endElementNs = OnEnd;
        sax->startElement = nullptr;
        sax->endElement = nullptr;
        sax->characters = nullptr;
        sax->ignorableWhitespace = nullptr;
        sax->cdataBlock = nullptr;
        sax->comment = nullptr;
        sax->processingInstruction = nullptr;
        sax->reference = nullptr;
        sax->serror = Quiet;
        sax->warning = nullptr;
        sax->error = nullptr;
        sax->fatalError = nullptr;
        ctxt->_private = &shape;
        xmlDoc* doc
            = xmlCtxtReadMemory(ctxt, bytes, static_cast<int>(size), "noname.xml", "UTF-8", XML_PARSE_NONET);
        wellFormed = doc && ctxt->wellFormed && shape.childSeen;
        xmlFreeDoc(doc);
    }
    xmlFreeParserCtxt(ctxt);
    xmlResetLastError();
    return wellFormed;
}
