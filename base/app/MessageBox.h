#pragma once
// MessageBox: a modal alert with Windows-style flags, shown as the message
// dialog (MessageDialog.h) without a parent window.
//
//   flags & 1: one button "OK"; answers the dialog's result (2 for OK, 0
//              when the window was closed).
//   else flags & 4: buttons "OK" and "Cancel"; answers 2 for OK and 3 for
//              any other outcome (Cancel, closed, no answer).
//   neither:   shows nothing and answers 0.
//
// The dialog is run by the foundation itself through the platform's modal
// loop rather than through the window layer's ShowMsg, which sits above the
// foundation; ShowMsg runs the very same dialog, so both look and answer
// alike.

int MessageBox(const unsigned short* text, const unsigned short* caption, int flags);
// 8-bit texts are taken as UTF-8; null counts as no text.
int MessageBox(const char* text, const char* caption, int flags);

constexpr int kMessageBoxOK = 1;
constexpr int kMessageBoxOKCancel = 4;
