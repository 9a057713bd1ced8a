// The control's services that need no control: the element-list search.

#include "element/services/ControlServices.h"

#include "base/geometry/Rect.h"

bool CControlServices::IsInElementList(const CSafeBuf& search, const unsigned short* tag)
{
    if (!tag || !*tag || search.IsEmpty())
        return false;
    CSafeBuf needle(",");
    needle += tag;
    needle += ",";
    return search.Find(static_cast<const unsigned short*>(needle)) >= 0;
}
