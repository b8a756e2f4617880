// Message boxes over QMessageBox.
#pragma once
#include <QString>
#include <cstdint>
#include <functional>

// Buttons.
constexpr uint32_t MB_OK = 0x00;
constexpr uint32_t MB_OKCANCEL = 0x01;
constexpr uint32_t MB_YESNOCANCEL = 0x03;
constexpr uint32_t MB_YESNO = 0x04;
// Icons.
constexpr uint32_t MB_ICONSTOP = 0x10;
constexpr uint32_t MB_ICONERROR = MB_ICONSTOP;
constexpr uint32_t MB_ICONQUESTION = 0x20;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr uint32_t MB_ICONINFORMATION = 0x40;
// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a modal box and returns the button pressed (IDCANCEL when it was closed otherwise).
// When the environment variable LEDGERLY_MESSAGEBOX_LOG names a file, one line
// "caption<TAB>text<TAB>flags" (line breaks in the text written as \n) is appended to it first,
// so that a test driving the real program can check what was shown.
int MessageBox(const QString& text, const QString& caption, uint32_t flags);

// Closes every message box that is open, as its close button would (the program is ending).
void CloseMessageBoxes();

// Called with every box just before it is shown (the box is shown all the same); for tests
// that watch the boxes of the program they drive. nullptr removes it.
using TMessageBoxObserver = std::function<void(const QString& text, const QString& caption, uint32_t flags)>;
void SetMessageBoxObserver(TMessageBoxObserver observer);
