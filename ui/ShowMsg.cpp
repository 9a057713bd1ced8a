#include "ui/ShowMsg.h"

#include "ui/MsgBox.h"

int ShowMsg(const unsigned short* caption, const unsigned short* text, const unsigned short* firstLabel,
    TWindow* parent, const unsigned short* secondLabel)
{
    try {
        CMsgBox box;
        box.SetCaption(caption);
        box.SetText(text);
        box.SetOKLabel(firstLabel);
        if (secondLabel != nullptr && secondLabel[0] != 0)
            box.SetSecondLabel(secondLabel);
        box.SetParent(parent);
        return box.DoModal();
    } catch (...) {
        return 0;
    }
}
