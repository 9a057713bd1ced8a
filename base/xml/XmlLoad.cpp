// Loading and freeing documents; see XmlLoad.h for the encoding rules.

#include "base/xml/XmlLoad.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include "base/files/SystemPath.h"
#include "base/text/SafeBuf.h"
#include "base/xml/XmlInternal.h"

xmlDoc* LoadXMLString(const unsigned short* text, CSafeBuf* error, bool clearError)
{
    return XmlParseText(text, error, clearError, 0);
}

bool LoadXMLString(xmlDoc*& doc, const unsigned short* text, CSafeBuf* error, bool clearError)
{
    doc = XmlParseText(text, error, clearError, 0);
    return doc != nullptr;
}

xmlDoc* LoadXMLFile(const unsigned short* path, CSafeBuf* error)
{
    if (error)
        error->Empty();
    std::string file = PathToSystem(path);
    if (file.empty())
        return nullptr;
    XmlQuietContext quiet;
    xmlParserCtxtPtr ctxt = quiet.Get();
    if (!ctxt)
        return nullptr;
    xmlDoc* doc = xmlCtxtReadFile(ctxt, file.c_str(), nullptr, XML_PARSE_NONET);
    if (!doc && error) {
        const xmlError* err = quiet.Error();
        if (err)
            XmlFormatError(err, *error);
    }
    xmlResetLastError();
    return doc;
}

void XMLReleaseDom(xmlDoc* doc)
{
    if (doc)
        xmlFreeDoc(doc);
}

void XMLReleaseNode(xmlNode*) { }

void XMLRemoveNode(xmlNode* node)
{
    if (!XmlIsNode(node))
        return;
    // A whole document is released with XMLReleaseDom, never as a node.
    if (node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE)
        return;
    xmlUnlinkNode(node);
    xmlFreeNode(node);
}
