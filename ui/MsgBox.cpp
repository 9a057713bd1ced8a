#include "ui/MsgBox.h"

#include "base/MessageDialog.h"

void CMsgBox::SetCaption(const unsigned short* caption)
{
    if (caption != nullptr)
        m_caption = caption;
}

void CMsgBox::SetText(const unsigned short* text)
{
    if (text != nullptr)
        m_text = text;
}

void CMsgBox::SetOKLabel(const unsigned short* label)
{
    if (label != nullptr)
        m_okLabel = label;
}

void CMsgBox::SetFirstLabel(const unsigned short* label)
{
    if (label != nullptr)
        m_firstLabel = label;
}

void CMsgBox::SetSecondLabel(const unsigned short* label)
{
    if (label != nullptr)
        m_secondLabel = label;
}

int CMsgBox::DoModal()
{
    MessageDialogContent content;
    content.caption = m_caption;
    content.text = m_text;
    content.okLabel = m_okLabel;
    content.firstLabel = m_firstLabel;
    content.secondLabel = m_secondLabel;
    content.okEnabled = m_okEnabled;
    m_result = RunMessageDialog(content);
    return m_result;
}
