// Helpers shared by the tests: readable QString output in failure messages, paths.
#pragma once
#include <QByteArray>
#include <QString>
#include <cstdlib>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << b.toHex(' ').toStdString(); }
QT_END_NAMESPACE

// The source tree and the folder of the built executables, set by the test runner.
inline QString SourceDir() { return QString::fromLocal8Bit(std::getenv("LEDGERLY_SOURCE_DIR")); }
inline QString BinDir() { return QString::fromLocal8Bit(std::getenv("LEDGERLY_BIN_DIR")); }
