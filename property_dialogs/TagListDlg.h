#pragma once
// CTagListDlg: the tag-list dialog. It lists the tag names of the element at
// the caret and its ancestors, each with a state: 0 normal, 1 locked by the
// edit guard, 2 a locked element. The user picks an entry (the "entry"
// field, its index from 0) and presses Edit (result 1) to edit its
// properties, or Remove (result 2) to remove its tag; Close or closing the
// window answers 0. A locked entry (state not 0) can be neither edited nor
// removed: choosing one answers 0.
//
// After Remove, Removal() lists the tag to remove first.

#include "base/text/SafeBuf.h"
#include "ui/Dialog.h"

#include <vector>

class CTagListDlg : public CDialog
{
public:
    CTagListDlg();

    void AddTag(const unsigned short* name, int state);
    int Count() const { return static_cast<int>(m_names.size()); }

    // Runs the dialog: 1 edit, 2 remove, 0 nothing.
    int Run();
    // The entry chosen (its index), -1 when none.
    int Chosen() const { return m_chosen; }
    const std::vector<CSafeBuf>& Removal() const { return m_removal; }

    static constexpr std::uint32_t kCommandEdit = 0x65646974;   // 'edit'
    static constexpr std::uint32_t kCommandRemove = 0x72656D76; // 'remv'
    static constexpr std::uint32_t kCommandClose = 0x636C6F73;  // 'clos'

protected:
    void OnInitDialog() override;

private:
    std::vector<CSafeBuf> m_names;
    std::vector<int> m_states;
    std::vector<CSafeBuf> m_removal;
    int m_chosen = -1;
};
