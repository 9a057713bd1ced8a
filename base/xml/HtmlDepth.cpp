// The HTML parser runs with a SAX handler that only counts start and end
// tags (the parser calls the end handler for every element it closes,
// implied ends included). Its own content loop is iterative, so markup of
// any depth is measured on an ordinary stack.

#include "base/xml/HtmlDepth.h"

#include <libxml/HTMLparser.h>
#include <libxml/parserInternals.h>

#include <climits>
#include <cstring>

namespace {

struct Count
{
    htmlParserCtxtPtr context;
    size_t limit;
    size_t depth = 0;
    size_t deepest = 0;
};

Count& Of(void* context) { return *static_cast<Count*>(static_cast<htmlParserCtxtPtr>(context)->_private); }

void StartElement(void* context, const xmlChar*, const xmlChar**)
{
    Count& c = Of(context);
    if (++c.depth > c.deepest)
        c.deepest = c.depth;
    if (c.deepest > c.limit)
        xmlStopParser(c.context);
}

void EndElement(void* context, const xmlChar*)
{
    Count& c = Of(context);
    if (c.depth > 0)
        --c.depth;
}

} // namespace

size_t HtmlNestingDepth(const char* utf8, size_t length, size_t limit)
{
    if (!utf8 || length == 0)
        return 0;
    if (length > static_cast<size_t>(INT_MAX))
        return limit + 1;
    htmlParserCtxtPtr context = htmlCreateMemoryParserCtxt(utf8, static_cast<int>(length));
    if (!context)
        return limit + 1;
    Count count{context, limit};
    std::memset(context->sax, 0, sizeof(*context->sax));
    context->sax->startElement = StartElement;
    context->sax->endElement = EndElement;
    context->userData = context;
    context->_private = &count;
    htmlCtxtUseOptions(
        context, HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET | HTML_PARSE_NOIMPLIED);
    xmlSwitchEncoding(context, XML_CHAR_ENCODING_UTF8);
    htmlParseDocument(context);
    htmlFreeParserCtxt(context);
    return count.deepest > limit ? limit + 1 : count.deepest;
}
