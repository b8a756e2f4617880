#include "app/RegionalDate.h"

#include <QStringList>
#include <array>

namespace {
bool IsFieldLetter(QChar c) { return c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y'); }

// Skips a quoted literal ('...') starting at i; returns the index after it.
qsizetype SkipQuoted(const QString& pattern, qsizetype i) {
  ++i;
  while (i < pattern.size() && pattern[i] != QLatin1Char('\'')) ++i;
  return i + 1;
}

// Digits at `pos` (at most `maxLen`); false when there are none.
bool ScanNumber(const QString& s, qsizetype& pos, int& value, int& length) {
  value = 0;
  length = 0;
  while (pos < s.size() && s[pos] >= QLatin1Char('0') && s[pos] <= QLatin1Char('9')) {
    if (length >= 9) return false;  // no date field is that long; keeps the value in range
    value = value * 10 + (s[pos].unicode() - '0');
    ++length;
    ++pos;
  }
  return length > 0;
}

void SkipBlanks(const QString& s, qsizetype& pos) {
  while (pos < s.size() && s[pos].isSpace()) ++pos;
}

bool ScanSeparator(const QString& s, qsizetype& pos, const QString& separator) {
  SkipBlanks(s, pos);
  if (separator.isEmpty()) return true;  // blanks alone split the fields
  if (!s.mid(pos).startsWith(separator)) return false;
  pos += separator.size();
  SkipBlanks(s, pos);
  return true;
}

int ExpandYear(int year, int digits, const QDate& today) {
  if (digits > 2) return year;
  const int current = today.year();
  int full = current / 100 * 100 + year;
  if (full > current + 50) full -= 100;
  if (full <= current - 50) full += 100;
  return full;
}
}  // namespace

TShortDateFormat ShortDateFormatOf(const QString& pattern) {
  TShortDateFormat format;
  QString order;  // field letters in their first-seen order
  for (qsizetype i = 0; i < pattern.size();) {
    const QChar c = pattern[i];
    if (c == QLatin1Char('\'')) {
      i = SkipQuoted(pattern, i);
      continue;
    }
    if (IsFieldLetter(c)) {
      if (!order.contains(c)) order += c;
      while (i < pattern.size() && pattern[i] == c) ++i;
      continue;
    }
    // The separator is what stands between the first field and the second.
    if (order.size() == 1 && format.Separator.isEmpty() && !c.isLetter() && !c.isSpace()) format.Separator = QString(c);
    ++i;
  }
  if (order.startsWith(QLatin1Char('y')))
    format.Order = TDateOrder::doYMD;
  else if (order.startsWith(QLatin1Char('d')))
    format.Order = TDateOrder::doDMY;
  else
    format.Order = TDateOrder::doMDY;
  return format;
}

TShortDateFormat LocaleShortDateFormat(const QLocale& locale) {
  return ShortDateFormatOf(locale.dateFormat(QLocale::ShortFormat));
}

std::optional<QDate> TryStrToDate(const QString& text, const QLocale& locale, const QDate& today) {
  const TShortDateFormat format = LocaleShortDateFormat(locale);
  std::array<int, 3> n{};
  std::array<int, 3> len{};
  int count = 0;
  qsizetype pos = 0;
  SkipBlanks(text, pos);
  bool ok = ScanNumber(text, pos, n[0], len[0]);
  if (ok) {
    count = 1;
    while (count < 3) {
      qsizetype save = pos;
      if (!ScanSeparator(text, pos, format.Separator) || !ScanNumber(text, pos, n[count], len[count])) {
        pos = save;
        break;
      }
      ++count;
    }
    SkipBlanks(text, pos);
    ok = count >= 2 && pos == text.size();
  }
  if (ok) {
    int y = today.year(), m = 0, d = 0, yearDigits = 4;
    if (count == 2) {
      // Day and month only: the order of the two without the year.
      if (format.Order == TDateOrder::doDMY) {
        d = n[0];
        m = n[1];
      } else {
        m = n[0];
        d = n[1];
      }
    } else {
      switch (format.Order) {
        case TDateOrder::doMDY:
          m = n[0], d = n[1], y = n[2], yearDigits = len[2];
          break;
        case TDateOrder::doDMY:
          d = n[0], m = n[1], y = n[2], yearDigits = len[2];
          break;
        case TDateOrder::doYMD:
          y = n[0], m = n[1], d = n[2], yearDigits = len[0];
          break;
      }
      y = ExpandYear(y, yearDigits, today);
    }
    if (y >= 1 && y <= 9999 && QDate::isValid(y, m, d)) return QDate(y, m, d);
    return std::nullopt;
  }
  // Patterns with month names ("d MMM yyyy") are read by the locale itself.
  const QDate named = locale.toDate(text.trimmed(), QLocale::ShortFormat);
  if (named.isValid()) return named;
  return std::nullopt;
}
