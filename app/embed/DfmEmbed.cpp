// Build step: puts the packed skins into the query form's stored definition.
// Usage: dfmembed TEMPLATE OUT [--compressed FILE] [--stored-lines FILE --stored-pictures FILE]
// The template's line "@COMPRESSED_SKIN@" becomes the "CompressedData" byte block and
// "@STORED_SKIN@" the "IniStrings" lines and the "Pictures" byte block; a marker without its
// input is dropped, leaving that container empty.
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>

namespace {
bool ReadAll(const QString& path, QByteArray& out) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "dfmembed: cannot read %s\n", qPrintable(path));
    return false;
  }
  out = f.readAll();
  return true;
}

// A byte-block property: hex digits, 64 to a line, closed by "}" on the last line.
QString ByteBlock(const QString& indent, const QString& name, const QByteArray& bytes) {
  QString out = indent + name + QStringLiteral(" = {");
  const QByteArray hex = bytes.toHex().toUpper();
  for (qsizetype i = 0; i < hex.size(); i += 64) out += QLatin1Char('\n') + indent + "  " + QString::fromLatin1(hex.mid(i, 64));
  return out + QLatin1Char('}');
}

QString Quoted(const QString& s) {
  QString q = s;
  q.replace(QLatin1Char('\''), QStringLiteral("''"));
  return QLatin1Char('\'') + q + QLatin1Char('\'');
}

QString StringList(const QString& indent, const QString& name, const QByteArray& text) {
  QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  QString out = indent + name + QStringLiteral(" = (");
  for (QString line : lines) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    out += QLatin1Char('\n') + indent + "  " + Quoted(line);
  }
  return out + QLatin1Char(')');
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: dfmembed TEMPLATE OUT [--compressed FILE] [--stored-lines FILE --stored-pictures FILE]\n");
    return 2;
  }
  QString compressed, storedLines, storedPictures;
  for (int i = 3; i + 1 < argc; i += 2) {
    const QString opt = QString::fromLocal8Bit(argv[i]), val = QString::fromLocal8Bit(argv[i + 1]);
    if (opt == QLatin1String("--compressed")) compressed = val;
    else if (opt == QLatin1String("--stored-lines")) storedLines = val;
    else if (opt == QLatin1String("--stored-pictures")) storedPictures = val;
    else {
      std::fprintf(stderr, "dfmembed: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  QByteArray tmpl;
  if (!ReadAll(QString::fromLocal8Bit(argv[1]), tmpl)) return 1;
  QStringList out;
  for (const QString& line : QString::fromUtf8(tmpl).split(QLatin1Char('\n'))) {
    const QString marker = line.trimmed();
    const QString indent = line.left(line.indexOf(marker));
    if (marker == QLatin1String("@COMPRESSED_SKIN@")) {
      QByteArray data;
      if (compressed.isEmpty()) continue;
      if (!ReadAll(compressed, data)) return 1;
      out << ByteBlock(indent, QStringLiteral("CompressedData"), data);
    } else if (marker == QLatin1String("@STORED_SKIN@")) {
      QByteArray lines, pictures;
      if (storedLines.isEmpty() || storedPictures.isEmpty()) continue;
      if (!ReadAll(storedLines, lines) || !ReadAll(storedPictures, pictures)) return 1;
      out << StringList(indent, QStringLiteral("IniStrings"), lines);
      out << ByteBlock(indent, QStringLiteral("Pictures"), pictures);
    } else {
      out << line;
    }
  }
  QFile f(QString::fromLocal8Bit(argv[2]));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(out.join(QLatin1Char('\n')).toUtf8()) < 0) {
    std::fprintf(stderr, "dfmembed: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
