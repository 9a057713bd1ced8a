#include "base/app/MessageDialog.h"

#include "base/text/Utf.h"
#include "platform/ui/ModalDialog.h"

#include <string>

namespace {

bool HasText(const unsigned short* text) { return text != nullptr && text[0] != 0; }

} // namespace

void BuildMessageDialog(qm::ui::ModalDialog& dialog, const MessageDialogContent& content)
{
    dialog.caption = ToUTF8String(content.caption);
    dialog.texts.assign(1, ToUTF8String(content.text));
    dialog.buttons.clear();
    if (content.okEnabled)
        dialog.buttons.push_back(
            {HasText(content.okLabel) ? ToUTF8String(content.okLabel) : std::string("OK"), kMsgCommandOK});
    if (HasText(content.firstLabel))
        dialog.buttons.push_back({ToUTF8String(content.firstLabel), kMsgCommandFirst});
    if (HasText(content.secondLabel))
        dialog.buttons.push_back({ToUTF8String(content.secondLabel), kMsgCommandSecond});
    const std::uint32_t defaultCommand = content.defaultButton == kMsgResultFirst ? kMsgCommandFirst
        : content.defaultButton == kMsgResultOK                                   ? kMsgCommandOK
        : content.defaultButton == kMsgResultSecond                               ? kMsgCommandSecond
                                                                                  : 0;
    dialog.defaultButton = -1;
    for (std::size_t i = 0; i < dialog.buttons.size(); ++i)
        if (dialog.buttons[i].command == defaultCommand)
            dialog.defaultButton = static_cast<int>(i);
    dialog.parent = content.parent;
}

int MessageDialogResult(std::uint32_t command)
{
    switch (command) {
    case kMsgCommandOK: return kMsgResultOK;
    case kMsgCommandFirst: return kMsgResultFirst;
    case kMsgCommandSecond: return kMsgResultSecond;
    default: return kMsgResultNone;
    }
}

int RunMessageDialog(const MessageDialogContent& content)
{
    try {
        qm::ui::ModalDialog dialog("message");
        BuildMessageDialog(dialog, content);
        if (dialog.RunModal() != qm::events::ModalStatus::kQuit)
            return kMsgResultNone;
        return MessageDialogResult(static_cast<std::uint32_t>(dialog.Result()));
    } catch (...) {
        return kMsgResultNone;
    }
}
