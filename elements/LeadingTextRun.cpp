// The empty text run that starts the half of a broken list item or definition.

#include "elements/LeadingTextRun.h"

#include "element/Element.h"
#include "element/factory/ElementFactory.h"

void GiveLeadingTextRun(CElement* holder)
{
    if (!holder || (holder->m_firstChild && holder->m_firstChild->IsTextElement()))
        return;
    CElement* run = CreateElement("", holder->m_rules, holder->m_root, holder->m_owner);
    if (!run)
        return;
    if (holder->m_firstChild)
        holder->InsertChild(run, holder->m_firstChild->GetID(), false);
    else
        holder->AppendChild(run);
    run->CopyFromParent(holder, 1);
}
