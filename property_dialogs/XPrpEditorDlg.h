#pragma once
// CXPrpEditorDlg: a property page, the dialog through which the user edits
// an element's attributes. Each row has a label, the attribute it edits, the
// attribute's value and a kind: a text field (1) or an editable list (7)
// whose offered values the row keeps. The page runs as a modal dialog
// (CDialog, kind "property") with the buttons OK and Cancel; the host's UI
// driver sees one named field per row (the attribute's name) and the labels
// as texts, and may edit the fields before it presses a button.
//
// After DoModal answered 1 (OK), Value gives what each row's field then
// held; after Cancel (2) or a closed window (0) the values are as given.

#include "base/text/SafeBuf.h"
#include "ui/Dialog.h"

#include <string>
#include <vector>

class CXPrpEditorDlg : public CDialog
{
public:
    static constexpr int kTextField = 1;
    static constexpr int kEditableList = 7;

    struct Row
    {
        CSafeBuf label;
        std::string attribute; // ASCII
        CSafeBuf value;
        int kind = kTextField;
        std::vector<CSafeBuf> options; // offered by an editable list
    };

    CXPrpEditorDlg();

    // Adds a row (or, for an attribute that has one, replaces its label,
    // value, kind and options). options: a null-terminated array of texts
    // offered by a list row; null for none.
    void SetItem(const unsigned short* label, const char* attribute, const unsigned short* value, int kind,
        unsigned short* const* options = nullptr);
    const std::vector<Row>& Rows() const { return m_rows; }
    const Row* FindRow(const char* attribute) const;

    // The value of the attribute's row (empty, false, when there is none);
    // after an OK, what the user left in it.
    bool Value(const char* attribute, CSafeBuf& out);

    // Asks for the keyboard focus to go to the page's current field at the
    // engine's next timer tick (the engine calls SetNewFocus then).
    void SetNewFocus() { m_focusGiven = true; }
    bool HasFocus() const { return m_focusGiven; }
    // The page is laid out right to left.
    void SetRightToLeft(bool rtl) { m_rightToLeft = rtl; }
    bool IsRightToLeft() const { return m_rightToLeft; }

    static constexpr std::uint32_t kCommandOK = 0x6F6B2020;     // 'ok  '
    static constexpr std::uint32_t kCommandCancel = 0x636E636C; // 'cncl'

protected:
    void OnInitDialog() override;

private:
    std::vector<Row> m_rows;
    bool m_focusGiven = false;
    bool m_rightToLeft = false;
};
