#include "library/LibraryDlg.h"

#include "net/AdditionalHeaders.h"

void CLibraryDlg::SetTagList(const unsigned short* tagList)
{
    if (m_headers)
        SetHeaderField(m_headers->TagList, tagList);
}
