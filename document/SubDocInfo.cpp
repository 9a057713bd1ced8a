// Freeing the document's sub-document definitions.

#include "document/SubDocInfo.h"
#include "document/XDoc.h"

void CXDoc::ReleaseSubDocInfo()
{
    while (m_subDocInfo) {
        SUBDOC_INFO* next = m_subDocInfo->next;
        delete m_subDocInfo;
        m_subDocInfo = next;
    }
}
