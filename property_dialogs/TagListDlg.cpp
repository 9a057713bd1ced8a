#include "property_dialogs/TagListDlg.h"

#include "base/text/Utf.h"

#include <cstdlib>
#include <string>

CTagListDlg::CTagListDlg() : CDialog("tag-list") { }

void CTagListDlg::AddTag(const unsigned short* name, int state)
{
    m_names.emplace_back(name);
    m_states.push_back(state);
}

void CTagListDlg::OnInitDialog()
{
    qm::ui::ModalDialog& dialog = Dialog();
    dialog.texts.clear();
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        std::string line = ToUTF8String(m_names[i]);
        if (m_states[i] == 1)
            line += " (locked)";
        else if (m_states[i] == 2)
            line += " (locked element)";
        dialog.texts.push_back(line);
    }
    dialog.fields = {{"entry", "0"}};
    dialog.buttons = {{"Edit", kCommandEdit}, {"Remove", kCommandRemove}, {"Close", kCommandClose}};
    dialog.defaultButton = 0;
}

int CTagListDlg::Run()
{
    m_chosen = -1;
    m_removal.clear();
    const int pressed = DoModal(); // 1 Edit, 2 Remove, 3 Close
    if (pressed != 1 && pressed != 2)
        return 0;
    const std::string* field = Dialog().Field("entry");
    if (!field || field->empty() || field->find_first_not_of("0123456789") != std::string::npos)
        return 0;
    const unsigned long index = std::strtoul(field->c_str(), nullptr, 10);
    if (index >= m_names.size() || m_states[index] != 0)
        return 0;
    m_chosen = static_cast<int>(index);
    if (pressed == 2)
        m_removal.push_back(m_names[index]);
    return pressed;
}
