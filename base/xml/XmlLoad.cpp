// Loading and freeing documents; see XmlLoad.h for the encoding rules.

#include "base/xml/XmlLoad.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <string>
#include <vector>

#include "base/files/SystemPath.h"
#include "base/shims/FileShims.h"
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

xmlDoc* LoadXMLBytes(const char* bytes, size_t size, CSafeBuf* error, bool clearError)
{
    try {
        return XmlParseBytes(bytes, size, error, clearError, 0);
    } catch (...) {
        return nullptr;
    }
}

namespace {

xmlDoc* LoadFile(const unsigned short* path, CSafeBuf* error)
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
    // The file is read here and its bytes parsed (under its own name, so
    // relative references and messages still name it): the library would
    // open it through the external entity loader, which refuses files
    // outside the resources folder.
    std::vector<unsigned char> bytes;
    xmlDoc* doc = nullptr;
    if (!ReadFileBytes(file, bytes, INT_MAX)) {
        if (error) {
            std::string message = "failed to load \"" + file + "\"\n";
            xmlError err = {};
            err.message = &message[0];
            XmlFormatError(&err, *error);
        }
    } else {
        static const unsigned char empty = 0;
        doc = xmlCtxtReadMemory(ctxt, reinterpret_cast<const char*>(bytes.empty() ? &empty : bytes.data()),
            static_cast<int>(bytes.size()), file.c_str(), nullptr, XML_PARSE_NONET);
        if (!doc && error) {
            const xmlError* err = quiet.Error();
            if (err)
                XmlFormatError(err, *error);
        }
    }
    xmlResetLastError();
    return doc;
}

} // namespace

xmlDoc* LoadXMLFile(const unsigned short* path, CSafeBuf* error)
{
    try {
        return LoadFile(path, error);
    } catch (...) {
        return nullptr; // out of memory
    }
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
