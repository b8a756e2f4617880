#include "db/FloatFormat.h"

#include <QLocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
QChar& SeparatorSlot() {
  static QChar sep = [] {
    const QString p = QLocale::system().decimalPoint();
    return p.isEmpty() ? QChar(u'.') : p[0];
  }();
  return sep;
}
}  // namespace

QChar DecimalSeparator() { return SeparatorSlot(); }
void SetDecimalSeparator(QChar c) { SeparatorSlot() = c; }

QString FloatToStrGeneral(double value, int precision, QChar sep) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  if (precision < 1) precision = 1;
  if (precision > 17) precision = 17;
  if (value == 0) return QStringLiteral("0");
  // "%.*e" rounds to `precision` significant digits and gives the decimal exponent.
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*e", precision - 1, value);
  const bool neg = buf[0] == '-';
  const char* p = buf + (neg ? 1 : 0);
  char digits[24];
  int nd = 0;
  for (; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') digits[nd++] = *p;
  const int exp = std::atoi(p + 1);
  while (nd > 1 && digits[nd - 1] == '0') --nd;  // drop trailing zeros
  if (nd == 1 && digits[0] == '0') return QStringLiteral("0");

  QString out;
  out.reserve(32);
  if (neg) out += u'-';
  if (exp < precision && exp >= -5) {
    if (exp < 0) {
      out += u'0';
      out += sep;
      for (int i = 0; i < -exp - 1; ++i) out += u'0';
      for (int i = 0; i < nd; ++i) out += QLatin1Char(digits[i]);
    } else {
      for (int i = 0; i <= exp; ++i) out += QLatin1Char(i < nd ? digits[i] : '0');
      if (nd > exp + 1) {
        out += sep;
        for (int i = exp + 1; i < nd; ++i) out += QLatin1Char(digits[i]);
      }
    }
  } else {
    out += QLatin1Char(digits[0]);
    if (nd > 1) {
      out += sep;
      for (int i = 1; i < nd; ++i) out += QLatin1Char(digits[i]);
    }
    out += u'E';
    out += QString::number(exp);
  }
  return out;
}
