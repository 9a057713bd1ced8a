#include "plugin/ButtonInfo.h"

#include "plugin/ImageList.h"

#include <new>

ButtonInfo* NewButtonInfo()
{
    ButtonInfo* info = new (std::nothrow) ButtonInfo();
    if (info)
        info->state = kButtonEnabled;
    return info;
}

void FreeButtonInfo(ButtonInfo* info)
{
    if (!info)
        return;
    if (info->styleTarget) {
        FreeAttributeItems(info->styleTarget->attributes);
        delete info->styleTarget;
    }
    delete[] info->text;
    delete info;
}

void FreeButtonInfos(ButtonInfo* head)
{
    while (head) {
        ButtonInfo* next = head->next;
        FreeButtonInfo(head);
        head = next;
    }
}

void FreeToolBar(ToolBarStruct* bar)
{
    if (!bar)
        return;
    FreeButtonInfos(bar->buttons);
    delete bar->images;
    delete bar->images2;
    delete bar;
}
