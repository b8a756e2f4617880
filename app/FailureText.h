// Texts of the application's failure boxes.
#pragma once
#include <QString>
#include <cstdint>

// The application title: the executable's file name without its extension, the first character
// kept and the rest in lower case ("/opt/LEDGERLY.EXE" -> "Ledgerly").
QString ApplicationTitleFromPath(const QString& executablePath);

// The text of the box shown for a failed user action: a full stop is appended when the last
// character sorts after "." ("Field not found" -> "Field not found.", "Done!" stays).
QString ActionFailureText(const QString& message);

// The start-up failure box: "Exception <class> in module <module> at <address>." then, on a new
// line, the message with a full stop appended unless it already ends with one.
QString StartupFailureText(const QString& className, const QString& moduleName, uintptr_t address,
                           const QString& message);

// Title of the start-up failure box.
inline QString StartupFailureTitle() { return QStringLiteral("Application Error"); }
