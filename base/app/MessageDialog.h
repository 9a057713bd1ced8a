#pragma once
// The message dialog: a caption, a text and up to three buttons, run
// application-modally through the platform's modal loop and answered by the
// host's UI driver. The dialog is of the kind "message"; its text is the
// dialog's first text.
//
// Buttons, in this order, each shown when it has a label:
//   the OK button      command 'ok  ', result 2 (labelled "OK" when no label is given)
//   the first extra    command 'btn1', result 1
//   the second extra   command 'btn2', result 3
// Closing the window (or a loop that fails because nobody answers) gives 0.
// A disabled OK button is left out of the buttons the driver can press.
// The default button (the one Return presses) is named by its result code;
// one that is not shown leaves the dialog without a default. With a parent
// window the dialog belongs to it and stays above it.
//
// This is the one implementation of the dialog. The window layer's CMsgBox
// (and ShowMsg through it) builds it here and runs it as a CDialog, and
// MessageBox here in the foundation runs it directly: the foundation cannot
// call the window layer above it, and building it in one place keeps both
// the same dialog.

#include <cstdint>

namespace qm::ui {
class ModalDialog;
class Window;
} // namespace qm::ui

struct MessageDialogContent
{
    const unsigned short* caption = nullptr;     // null: no caption
    const unsigned short* text = nullptr;        // null: no text
    const unsigned short* okLabel = nullptr;     // null or empty: "OK"
    const unsigned short* firstLabel = nullptr;  // null or empty: no first extra button
    const unsigned short* secondLabel = nullptr; // null or empty: no second extra button
    bool okEnabled = true;                       // false: the OK button cannot be pressed
    int defaultButton = 2;                       // a result code: 1 first extra, 2 OK, 3 second extra
    const qm::ui::Window* parent = nullptr;      // null: application-modal
};

constexpr std::uint32_t kMsgCommandOK = 0x6F6B2020;     // 'ok  '
constexpr std::uint32_t kMsgCommandFirst = 0x62746E31;  // 'btn1'
constexpr std::uint32_t kMsgCommandSecond = 0x62746E32; // 'btn2'

// Result codes.
constexpr int kMsgResultNone = 0;
constexpr int kMsgResultFirst = 1;
constexpr int kMsgResultOK = 2;
constexpr int kMsgResultSecond = 3;

// Gives dialog (of the kind "message") the content: caption, text, buttons,
// default button and parent; what it showed before goes.
void BuildMessageDialog(qm::ui::ModalDialog& dialog, const MessageDialogContent& content);
// The result code for the command that closed the dialog; 0 for any command
// that is not one of its buttons'.
int MessageDialogResult(std::uint32_t command);

// Runs the dialog and answers its result code. Never throws.
int RunMessageDialog(const MessageDialogContent& content);
