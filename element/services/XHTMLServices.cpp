// The engine's services: construction and destruction of the fields.

#include "element/services/XHTMLServices.h"

CXHTMLServices::CXHTMLServices(CXDocServices& doc) : m_doc(doc) { }

CXHTMLServices::~CXHTMLServices() = default;
