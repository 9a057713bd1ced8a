// The engine's services: construction and destruction of the fields.

#include "element/services/XHTMLServices.h"

CXHTMLServices::CXHTMLServices(CXDocServices& doc) : m_doc(doc) { }

CXHTMLServices::~CXHTMLServices() = default;

bool CXHTMLServices::IndentMarkup(const unsigned short*, CSafeBuf& out)
{
    out.Empty();
    return false;
}

bool CXHTMLServices::FetchSoapService(
    const unsigned short*, const CSafeBuf&, _xmlDoc** document, _xmlNode** result, CSafeBuf& prefix, bool)
{
    if (document)
        *document = nullptr;
    if (result)
        *result = nullptr;
    prefix.Empty();
    return false;
}
