// The user's regional short date format: the order of day, month and year and the date
// separator, derived from a locale's short date pattern, and reading a date typed in it.
#pragma once
#include <QDate>
#include <QLocale>
#include <QString>
#include <optional>

enum class TDateOrder { doMDY, doDMY, doYMD };

struct TShortDateFormat {
  TDateOrder Order = TDateOrder::doMDY;
  QString Separator;  // one character, or empty when the pattern has no punctuation between its fields
};

// Order from the first letter of each field ("d", "M", "y") in `pattern`; separator from the first
// punctuation after the first field, blanks ignored ("yyyy/M/d" -> YMD "/", "dd.MM.yy" -> DMY ".",
// "d MMM yyyy" -> DMY and no separator).
TShortDateFormat ShortDateFormatOf(const QString& pattern);

// The short date format of `locale`.
TShortDateFormat LocaleShortDateFormat(const QLocale& locale);

// Reads `text` as a date in `locale`'s short date format: two or three numbers split by the
// regional separator (blanks when it has none) in the regional order; with two numbers the year is
// `today`'s; a year of one or two digits lands within 50 years of `today`. Failing that, the
// locale's own short pattern is tried. Empty when the text is no valid date.
std::optional<QDate> TryStrToDate(const QString& text, const QLocale& locale, const QDate& today);
