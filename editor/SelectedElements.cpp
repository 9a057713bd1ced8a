#include "editor/SelectedElements.h"

#include "base/collections/PtrList.h"
#include "element/Element.h"

std::vector<long> SelectedElementIds(const CElement* root)
{
    std::vector<long> ids;
    if (!root)
        return ids;
    CPtrList list;
    root->GetAllChildren(&list, 0, true, 0, 0);
    for (void* pos = list.GetHeadPosition(); pos;)
        ids.push_back(static_cast<CElement*>(list.GetNext(pos))->GetID());
    return ids;
}
