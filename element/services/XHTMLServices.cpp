// The engine's services: construction and destruction of the fields.

#include "element/services/XHTMLServices.h"

#include "element/Element.h"
#include "element/ElementKinds.h"

CXHTMLServices::CXHTMLServices(CXDocServices& doc) : m_doc(doc) { }

CXHTMLServices::~CXHTMLServices() = default;

bool CXHTMLServices::IndentMarkup(const unsigned short*, CSafeBuf& out)
{
    out.Empty();
    return false;
}

namespace {

// Some cell directly in row still carries its whole-cell mark.
bool RowHasMarkedCell(const CElement* row)
{
    for (const CElement* c = row->m_firstChild; c; c = c->m_nextSibling) {
        if (IsCellKind(c->m_kind) && c->m_wholeCell)
            return true;
    }
    return false;
}

} // namespace

bool CXHTMLServices::IsGridMarked(const CElement* e) const
{
    if (!e || m_gridSelection == kGridNone)
        return false;
    if (e->m_kind == kKindTable) {
        if (m_gridSelection != kGridTable || e->GetID() != m_gridTableId)
            return false;
        for (const CElement* c = e->m_firstChild; c; c = c->m_nextSibling) {
            if (c->m_kind == kKindTr && RowHasMarkedCell(c))
                return true;
            if (IsRowGroupKind(c->m_kind)) {
                for (const CElement* r = c->m_firstChild; r; r = r->m_nextSibling) {
                    if (r->m_kind == kKindTr && RowHasMarkedCell(r))
                        return true;
                }
            }
        }
        return false;
    }
    if (e->m_kind != kKindTr || m_gridSelection != kGridRows)
        return false;
    for (long id : m_gridRowIds) {
        if (id == e->GetID())
            return RowHasMarkedCell(e);
    }
    return false;
}

void CXHTMLServices::ForgetGridSelection()
{
    m_gridSelection = kGridNone;
    m_gridTableId = 0;
    m_gridRowIds.clear();
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
