// skintool: dispatches to the registered commands.
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

#include "SkinTool.h"
#include "platform/Exceptions.h"

namespace {
std::vector<const SkinToolCommand*>& Registry() {
  static std::vector<const SkinToolCommand*> commands;
  return commands;
}

void PrintHelp(FILE* out) {
  std::fprintf(out, "skintool: build, unpack and inspect Ledgerly skins.\n\nUsage:\n");
  std::vector<const SkinToolCommand*> cmds = Registry();
  std::sort(cmds.begin(), cmds.end(), [](auto* a, auto* b) { return qstrcmp(a->name, b->name) < 0; });
  for (const SkinToolCommand* c : cmds) {
    std::fprintf(out, "  skintool %s\n", c->usage);
    const QStringList lines = QString::fromUtf8(c->help).split(u'\n');
    for (const QString& l : lines) std::fprintf(out, "      %s\n", qPrintable(l));
  }
  std::fprintf(out, "  skintool --help\n      This text.\n");
}
}  // namespace

SkinToolCommand::SkinToolCommand(const char* n, const char* u, const char* h, SkinToolFunction r)
    : name(n), usage(u), help(h), run(r) {
  Registry().push_back(this);
}

const std::vector<const SkinToolCommand*>& SkinToolCommands() { return Registry(); }

int SkinToolFail(const QString& message) {
  std::fprintf(stderr, "skintool: %s\n", qPrintable(message));
  return 1;
}

int SkinToolUsage(const SkinToolCommand& cmd) {
  std::fprintf(stderr, "usage: skintool %s\n", cmd.usage);
  return 2;
}

void SkinToolWriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
    throw EFOpenError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, f.errorString()));
}

QByteArray SkinToolReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, f.errorString()));
  return f.readAll();
}

QString SkinToolDescriptionPath(const QString& dirOrFile) {
  if (QFileInfo(dirOrFile).isDir()) {
    QString p = dirOrFile;
    if (!p.endsWith(u'/')) p += u'/';
    return p + QStringLiteral("SKIN.INI");
  }
  return dirOrFile;
}

int main(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h") ||
      args[0] == QLatin1String("help")) {
    PrintHelp(args.isEmpty() ? stderr : stdout);
    return args.isEmpty() ? 2 : 0;
  }
  for (const SkinToolCommand* c : Registry()) {
    if (args[0] != QLatin1String(c->name)) continue;
    try {
      return c->run(args.mid(1));
    } catch (const Exception& e) {
      return SkinToolFail(e.Message());
    }
  }
  std::fprintf(stderr, "skintool: unknown command \"%s\"\n\n", qPrintable(args[0]));
  PrintHelp(stderr);
  return 2;
}
