#include "ui/MsgBox.h"

void CMsgBox::KeepText(CSafeBuf& store, const unsigned short*& field, const unsigned short* text)
{
    if (text == nullptr)
        return;
    store = text;
    field = static_cast<const CSafeBuf&>(store);
}

void CMsgBox::SetText(const unsigned short* text) { KeepText(m_text, m_content.text, text); }

void CMsgBox::SetOKLabel(const unsigned short* label) { KeepText(m_okLabel, m_content.okLabel, label); }

void CMsgBox::SetFirstLabel(const unsigned short* label)
{
    KeepText(m_firstLabel, m_content.firstLabel, label);
}

void CMsgBox::SetSecondLabel(const unsigned short* label)
{
    KeepText(m_secondLabel, m_content.secondLabel, label);
}

void CMsgBox::OnInitDialog() { BuildMessageDialog(Dialog(), m_content); }

int CMsgBox::ResultForCommand(std::uint32_t command) const { return MessageDialogResult(command); }
