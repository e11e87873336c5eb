// MsgBox: the platform's message box, shown through the thread's driver.
#pragma once

#include <string>
#include <vector>

namespace kvt::ui {

// Buttons.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
// Icons.
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
// Default button.
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;
// Answers.
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// The title a message box gets when the caller gives none.
inline constexpr const char* kDefaultMsgBoxTitle = "KvtSuppliers";

// Shows `prompt` with the buttons and icon of `buttons`; returns the answer.
int MsgBox(const std::string& prompt, int buttons = vbOKOnly, const std::string& title = {});

// The answers `buttons` offers, left to right (vbOK; vbYes, vbNo; ...).
std::vector<int> MsgBoxAnswers(int buttons);
// The answer of the default button of `buttons`.
int MsgBoxDefaultAnswer(int buttons);
// The icon part of `buttons` (0, vbCritical, vbQuestion, ...).
inline int MsgBoxIcon(int buttons) { return buttons & 0x70; }

}  // namespace kvt::ui
