// skintool commands. Each command lives in its own .cpp and registers itself with a static
// SkinToolCommand object: name, usage line, help text, and the function that runs it.
#pragma once
#include <QString>
#include <QStringList>
#include <vector>

using SkinToolFunction = int (*)(const QStringList& args);

struct SkinToolCommand {
  // Registers the command; `usage` is one line, `help` may be several (printed indented).
  SkinToolCommand(const char* name, const char* usage, const char* help, SkinToolFunction run);
  const char* name;
  const char* usage;
  const char* help;
  SkinToolFunction run;
};

const std::vector<const SkinToolCommand*>& SkinToolCommands();

// Helpers shared by the commands.
int SkinToolFail(const QString& message);      // prints to stderr, returns 1
int SkinToolUsage(const SkinToolCommand& cmd);  // prints the usage line, returns 2
void SkinToolWriteFile(const QString& path, const QByteArray& bytes);  // EFOpenError on failure
QByteArray SkinToolReadFile(const QString& path);                      // EFOpenError on failure
// The description file of a skin folder (DIR/SKIN.INI), or the argument itself when it names a file.
QString SkinToolDescriptionPath(const QString& dirOrFile);
