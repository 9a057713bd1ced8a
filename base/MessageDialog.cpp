#include "base/MessageDialog.h"

#include "base/SafeBuf.h"
#include "platform/ui/ModalDialog.h"

#include <string>

namespace {

bool HasText(const unsigned short* text)
{
    return text != nullptr && text[0] != 0;
}

std::string Utf8(const unsigned short* text)
{
    if (text == nullptr)
        return std::string();
    CSafeBuf buf(text);
    char* utf8 = nullptr;
    const int n = buf.CreateUTF8Str(&utf8);
    std::string out(utf8 != nullptr ? utf8 : "", utf8 != nullptr && n > 0 ? n : 0);
    delete[] utf8;
    return out;
}

} // namespace

int RunMessageDialog(const MessageDialogContent& content)
{
    try {
        qm::ui::ModalDialog dialog("message");
        dialog.caption = Utf8(content.caption);
        dialog.texts.push_back(Utf8(content.text));
        if (content.okEnabled)
            dialog.buttons.push_back(
                {HasText(content.okLabel) ? Utf8(content.okLabel) : std::string("OK"), kMsgCommandOK});
        if (HasText(content.firstLabel))
            dialog.buttons.push_back({Utf8(content.firstLabel), kMsgCommandFirst});
        if (HasText(content.secondLabel))
            dialog.buttons.push_back({Utf8(content.secondLabel), kMsgCommandSecond});

        if (dialog.RunModal() != qm::events::ModalStatus::kQuit)
            return kMsgResultNone;
        switch (static_cast<std::uint32_t>(dialog.Result())) {
        case kMsgCommandOK:
            return kMsgResultOK;
        case kMsgCommandFirst:
            return kMsgResultFirst;
        case kMsgCommandSecond:
            return kMsgResultSecond;
        default:
            return kMsgResultNone;
        }
    } catch (...) {
        return kMsgResultNone;
    }
}
