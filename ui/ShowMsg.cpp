#include "ui/ShowMsg.h"

#include "platform/ui/Window.h"
#include "ui/MsgBox.h"

namespace {

// While a message box runs over a parent, both are in a window group of
// their own, so that the box stays above its parent; afterwards the group
// goes and the parent is back in the group it was in.
class MessageGroup
{
public:
    MessageGroup(TWindow& parent, TWindow& box) : m_parent(parent), m_parentGroup(parent.GetWindowGroup())
    {
        m_parent.SetWindowGroup(&m_group);
        box.SetWindowGroup(&m_group);
    }
    ~MessageGroup() { m_parent.SetWindowGroup(m_parentGroup); }
    MessageGroup(const MessageGroup&) = delete;
    MessageGroup& operator=(const MessageGroup&) = delete;

private:
    TWindow& m_parent;
    qm::ui::WindowGroup* m_parentGroup;
    qm::ui::WindowGroup m_group;
};

} // namespace

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
        if (parent == nullptr)
            return box.DoModal();
        MessageGroup group(*parent, box);
        return box.DoModal();
    } catch (...) {
        return 0;
    }
}
