#include "base/app/MessageBox.h"

#include "base/app/MessageDialog.h"
#include "base/text/SafeBuf.h"

int MessageBox(const unsigned short* text, const unsigned short* caption, int flags)
{
    static const unsigned short kOK[] = {'O', 'K', 0};
    static const unsigned short kCancel[] = {'C', 'a', 'n', 'c', 'e', 'l', 0};

    MessageDialogContent content;
    content.caption = caption;
    content.text = text;
    content.okLabel = kOK;
    if (flags & kMessageBoxOK)
        return RunMessageDialog(content);
    if (flags & kMessageBoxOKCancel) {
        content.secondLabel = kCancel;
        return RunMessageDialog(content) == kMsgResultOK ? kMsgResultOK : kMsgResultSecond;
    }
    return kMsgResultNone;
}

int MessageBox(const char* text, const char* caption, int flags)
{
    CSafeBuf wideText, wideCaption;
    wideText.AssignUTF8(text);
    wideCaption.AssignUTF8(caption);
    return MessageBox(text != nullptr ? static_cast<const unsigned short*>(wideText) : nullptr,
        caption != nullptr ? static_cast<const unsigned short*>(wideCaption) : nullptr, flags);
}
