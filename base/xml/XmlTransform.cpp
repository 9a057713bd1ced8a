// XSLT transforms over libxslt.
//
// Documents that go through a transform are parsed with entity substitution
// and external DTD loading, as options of each parse rather than
// library-wide switches, so other parses are not affected; what they may load
// is governed by the layer's entity loader (the system catalog and the
// resources folder only, never the network).
// Parameters are handed to libxslt as literal strings (xsltQuoteUserParams),
// so a value holding both kinds of quote reaches the style sheet intact.
// A default security policy forbids network access, writing files, creating
// folders and reading files outside the resources folder, both while style
// sheets are compiled (imports) and while they run; a refused read ends the
// transform. Each transform may take at most kMaxTransformOperations steps.

#include "base/xml/XmlTransform.h"

#include <libxml/parser.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/variables.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include "base/codec/Escaping.h"
#include "base/collections/MapStringToString.h"
#include "base/text/SafeBuf.h"
#include "base/text/Utf.h"
#include "base/xml/XmlEntityLoader.h"
#include "base/xml/XmlInternal.h"
#include "base/xml/XmlTransformInternal.h"

namespace {

// Local files a style sheet may read (document(), imports): those in the
// resources folder, and the style sheet's own document (document(''), which
// libxslt answers from the style sheet in memory once reading its name gives
// nothing).
int AllowResourceRead(xsltSecurityPrefsPtr, xsltTransformContextPtr ctxt, const char* path)
{
    if (ctxt && ctxt->style && ctxt->style->doc && ctxt->style->doc->URL && path
        && xmlStrEqual(ctxt->style->doc->URL, BAD_CAST path))
        return 1;
    return XmlIsResourceFile(path) ? 1 : 0;
}

xsltSecurityPrefs* TransformSecurity()
{
    static xsltSecurityPrefs* prefs = [] {
        XmlInstallEntityLoader();
        xsltSecurityPrefs* p = xsltNewSecurityPrefs();
        if (p) {
            xsltSetSecurityPrefs(p, XSLT_SECPREF_READ_FILE, AllowResourceRead);
            xsltSetSecurityPrefs(p, XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
            xsltSetSecurityPrefs(p, XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
            xsltSetSecurityPrefs(p, XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
            xsltSetSecurityPrefs(p, XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
            xsltSetDefaultSecurityPrefs(p);
        }
        return p;
    }();
    return prefs;
}

void SilentTransformError(void*, const char*, ...) { }

} // namespace

int XmlTransformParseOptions() { return XML_PARSE_NOENT | XML_PARSE_DTDLOAD | XML_PARSE_NONET; }

xmlDoc* XmlApplyStylesheetText(xmlDoc* doc, const unsigned short* xslt,
    const std::vector<std::pair<std::string, std::string>>& params, CSafeBuf* error)
{
    if (!doc)
        return nullptr;
    xsltSecurityPrefs* security = TransformSecurity();
    if (!security)
        return nullptr;
    xmlDoc* sheetDoc = XmlParseText(xslt, error, true, XmlTransformParseOptions());
    if (!sheetDoc)
        return nullptr;
    // On success the compiled style sheet owns its document.
    xsltStylesheet* style = xsltParseStylesheetDoc(sheetDoc);
    if (!style) {
        xmlFreeDoc(sheetDoc);
        return nullptr;
    }
    xmlDoc* result = nullptr;
    xsltTransformContext* ctxt = xsltNewTransformContext(style, doc);
    if (ctxt) {
        xsltSetCtxtSecurityPrefs(security, ctxt);
        // Bounds the work of a style sheet that recurses without end or
        // exponentially; libxslt stops the transform at the limit.
        ctxt->opLimit = kMaxTransformOperations;
        xsltSetCtxtParseOptions(ctxt, XSLT_PARSE_OPTIONS | XML_PARSE_NONET);
        xsltSetTransformErrorFunc(ctxt, nullptr, SilentTransformError);
        std::vector<const char*> array;
        for (const auto& p : params) {
            array.push_back(p.first.c_str());
            array.push_back(p.second.c_str());
        }
        array.push_back(nullptr);
        if (xsltQuoteUserParams(ctxt, array.data()) == 0)
            result = xsltApplyStylesheetUser(style, doc, nullptr, nullptr, nullptr, ctxt);
        xsltFreeTransformContext(ctxt);
    }
    xsltFreeStylesheet(style);
    return result;
}

namespace {

bool Transform(CSafeBuf& xml, const unsigned short* xslt, CSafeBuf* error, CMapStringToString* params)
{
    if (error)
        error->Empty();
    xmlDoc* doc = XmlParseText(xml, error, true, XmlTransformParseOptions());
    if (!doc)
        return false;

    std::vector<std::pair<std::string, std::string>> list;
    if (params) {
        void* pos = params->GetStartPosition();
        while (pos && static_cast<int>(list.size()) < kMaxTransformParams) {
            CSafeBuf key, value;
            params->GetNextAssoc(pos, key, value);
            if (key.IsEmpty())
                continue;
            EscapeXMLChar(key, false);
            list.emplace_back(ToUTF8String(key), ToUTF8String(value));
        }
    }

    bool ok = false;
    xmlDoc* result = XmlApplyStylesheetText(doc, xslt, list, error);
    if (result) {
        xmlChar* text = nullptr;
        int size = 0;
        xmlDocDumpFormatMemoryEnc(result, &text, &size, "UTF-8", 1);
        if (text) {
            xml.Empty();
            xml.Append(reinterpret_cast<const char*>(text), size);
            xmlFree(text);
            ok = true;
        }
        xmlFreeDoc(result);
    }
    xmlFreeDoc(doc);
    return ok;
}

} // namespace

bool TransformXML(CSafeBuf& xml, const unsigned short* xslt, CSafeBuf* error, CMapStringToString* params,
    const unsigned short*)
{
    try {
        return Transform(xml, xslt, error, params);
    } catch (...) {
        return false;
    }
}

bool TransformXML(
    CSafeBuf& xml, const unsigned short* xslt, CSafeBuf* error, CMapStringToString* params, const char*)
{
    try {
        return Transform(xml, xslt, error, params);
    } catch (...) {
        return false;
    }
}
