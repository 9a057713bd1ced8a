// The language filter: a small XSLT style sheet applied to the document.

#include "base/xml/XmlLang.h"

#include "base/text/SafeBuf.h"
#include "base/xml/XmlTransformInternal.h"

namespace {

bool Filter(xmlDoc*& doc, const unsigned short* lang)
{
    if (!doc)
        return false;
    // The language code goes into the style sheet as element content.
    CSafeBuf code(lang);
    code.EscapeXML();
    code.Replace("'", "&apos;");

    CSafeBuf sheet("<?xml version=\"1.0\"?>"
                   "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
                   "<xsl:output method=\"xml\" indent=\"no\" omit-xml-declaration=\"yes\"/>"
                   "<xsl:param name=\"lang\">");
    sheet += code;
    sheet += "</xsl:param>"
             "<xsl:template match=\"/\"><xsl:apply-templates/></xsl:template>"
             "<xsl:template match=\"*\">"
             "<xsl:if test=\"lang($lang) or not(@xml:lang)\">"
             "<xsl:element name=\"{name()}\" namespace=\"{namespace-uri()}\">"
             "<xsl:copy-of select=\"@*[name() != 'xml:lang']\"/>"
             "<xsl:apply-templates/>"
             "</xsl:element>"
             "</xsl:if>"
             "</xsl:template>"
             "</xsl:stylesheet>";

    xmlDoc* result = XmlApplyStylesheetText(doc, sheet, {}, nullptr);
    if (!result)
        return false;
    xmlFreeDoc(doc);
    doc = result;
    return true;
}

} // namespace

bool LangFilter(xmlDoc*& doc, const unsigned short* lang)
{
    try {
        return Filter(doc, lang);
    } catch (...) {
        return false;
    }
}
