// Driving the real viewer from the tests: a display (the one given, or an Xvfb of our own),
// processes with a time limit, windows found by title through xdotool, clicks, keys and
// screenshots.
#pragma once
#include <QImage>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

// The X display the tests draw on: $DISPLAY when set, else an Xvfb started once for the test
// program (1920 x 1080 x 24) and stopped when it ends.
QString TestDisplay();

// An environment for a child program on the test display with the xcb platform.
QProcessEnvironment DesktopEnvironment();

struct TRunResult {
  bool Finished = false;  // false when the time limit ran out (the program was killed)
  int ExitCode = -1;
  QString Out, Err;
};

// Runs a program to its end (at most `timeoutMs`).
TRunResult RunProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env,
                      int timeoutMs = 60000);

struct TWindowGeometry {
  int X = 0, Y = 0, Width = 0, Height = 0;
};

// xdotool over the test display.
namespace Xdo {
// The first visible window whose title is exactly `title`, waiting up to `timeoutMs`.
std::optional<QString> WaitForWindow(const QString& title, int timeoutMs, qint64 pid = 0);
std::optional<TWindowGeometry> Geometry(const QString& window);
// Width and height of the test display's screen.
std::optional<QSize> DisplaySize();
// Moves the pointer to the screen point and clicks the left button.
void ClickAt(int x, int y);
// Gives the window the focus and types the key (xdotool key names: "Return", "ctrl+a").
void Key(const QString& window, const QString& key);
void Type(const QString& window, const QString& text);
}  // namespace Xdo

// A screenshot of the whole screen of the test display.
QImage Screenshot();
// Saves `image` under the test output folder ($LEDGERLY_BIN_DIR/e2e-shots) for a look after a failure.
QString SaveShot(const QImage& image, const QString& name);
