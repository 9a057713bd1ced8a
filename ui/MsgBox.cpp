#include "ui/MsgBox.h"

#include "ui/Window.h"

void CMsgBox::KeepText(CSafeBuf& store, const unsigned short*& field, const unsigned short* text)
{
    if (text == nullptr)
        return;
    store = text;
    field = static_cast<const CSafeBuf&>(store);
}

void CMsgBox::SetCaption(const unsigned short* caption) { KeepText(m_caption, m_content.caption, caption); }

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

int CMsgBox::DoModal()
{
    m_content.defaultButton = m_defaultButton;
    m_content.parent = m_parent ? &m_parent->GetWindowRef() : nullptr;
    m_result = RunMessageDialog(m_content);
    return m_result;
}
