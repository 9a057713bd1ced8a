#include "ui/AboutPrp.h"

#include "base/text/Utf.h"
#include "platform/ui/ModalDialog.h"

#include <string>

CAboutPrp::CAboutPrp(const unsigned short* productName, const unsigned short* version)
{
    if (productName)
        m_product = productName;
    if (version)
        m_version = version;
}

int CAboutPrp::DoModal()
{
    try {
        qm::ui::ModalDialog dialog("about");
        const std::string product = ToUTF8String(m_product);
        dialog.caption = "About " + product;
        dialog.texts.push_back(product + " " + ToUTF8String(m_version));
        dialog.fields.push_back({"Debug", Debug ? "yes" : "no"});
        dialog.buttons.push_back({"OK", kCommandOK});
        dialog.buttons.push_back({"Cancel", kCommandCancel});
        dialog.defaultButton = 0;
        if (dialog.RunModal() != qm::events::ModalStatus::kQuit
            || static_cast<std::uint32_t>(dialog.Result()) != kCommandOK)
            return 0;
        const std::string* value = dialog.Field("Debug");
        Debug = value && (*value == "yes" || *value == "1" || *value == "on") ? 1 : 0;
        return 1;
    } catch (...) {
        return 0;
    }
}
