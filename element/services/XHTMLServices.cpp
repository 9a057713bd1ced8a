// The engine's services: construction and destruction of the fields.

#include "element/services/XHTMLServices.h"

CXHTMLServices::CXHTMLServices(CXDocServices& doc) : m_doc(doc) { }

CXHTMLServices::~CXHTMLServices() = default;

bool CXHTMLServices::IndentMarkup(const unsigned short*, CSafeBuf& out)
{
    out.Empty();
    return false;
}
