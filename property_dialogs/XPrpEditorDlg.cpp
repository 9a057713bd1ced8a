#include "property_dialogs/XPrpEditorDlg.h"

#include "base/text/Utf.h"

CXPrpEditorDlg::CXPrpEditorDlg() : CDialog("property") { }

void CXPrpEditorDlg::SetItem(const unsigned short* label, const char* attribute, const unsigned short* value,
    int kind, unsigned short* const* options)
{
    if (!attribute || !*attribute)
        return;
    Row row;
    row.label = label;
    row.attribute = attribute;
    row.value = value;
    row.kind = kind;
    for (int i = 0; options && options[i]; ++i)
        row.options.emplace_back(options[i]);
    for (Row& existing : m_rows) {
        if (existing.attribute == row.attribute) {
            existing = std::move(row);
            return;
        }
    }
    m_rows.push_back(std::move(row));
}

const CXPrpEditorDlg::Row* CXPrpEditorDlg::FindRow(const char* attribute) const
{
    for (const Row& row : m_rows)
        if (attribute && row.attribute == attribute)
            return &row;
    return nullptr;
}

bool CXPrpEditorDlg::Value(const char* attribute, CSafeBuf& out)
{
    out.Empty();
    const Row* row = FindRow(attribute);
    if (!row)
        return false;
    out = row->value;
    if (GetResult() == 1 && !IsOpen()) {
        if (const std::string* field = Dialog().Field(row->attribute))
            out.AssignUTF8(field->c_str());
    }
    return true;
}

void CXPrpEditorDlg::OnInitDialog()
{
    qm::ui::ModalDialog& dialog = Dialog();
    dialog.texts.clear();
    dialog.fields.clear();
    for (const Row& row : m_rows) {
        dialog.texts.push_back(ToUTF8String(row.label));
        dialog.fields.push_back({row.attribute, ToUTF8String(row.value)});
    }
    dialog.buttons.clear();
    dialog.buttons.push_back({"OK", kCommandOK});
    dialog.buttons.push_back({"Cancel", kCommandCancel});
    dialog.defaultButton = 0;
}
