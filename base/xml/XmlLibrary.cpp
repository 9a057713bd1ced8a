#include "base/xml/XmlLibrary.h"

#include <libxml/parser.h>
#include <libxml/xmlversion.h>
#include <libxslt/xslt.h>

void XmlStartLibraries()
{
    LIBXML_TEST_VERSION
    xmlInitParser();
}

void XmlCleanupLibraries()
{
    xsltCleanupGlobals();
    xmlCleanupParser();
}
