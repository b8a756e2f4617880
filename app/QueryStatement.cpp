#include "app/QueryStatement.h"

#include <QStringList>

QString QuotedStr(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  out += QLatin1Char('\'');
  for (QChar c : text) {
    out += c;
    if (c == QLatin1Char('\'')) out += c;
  }
  out += QLatin1Char('\'');
  return out;
}

QString FormatDateText(const QDate& date, const QString& separator) {
  // Years are padded to four digits, months and days to two, as the stored column text is.
  return QStringLiteral("%1%2%3%4%5")
      .arg(date.year(), 4, 10, QLatin1Char('0'))
      .arg(separator)
      .arg(date.month(), 2, 10, QLatin1Char('0'))
      .arg(separator)
      .arg(date.day(), 2, 10, QLatin1Char('0'));
}

QString RangeCondition(int activePage, const TQueryRange& range, const QString& dateSeparator) {
  switch (activePage) {
    case kNumberPage:
      return QStringLiteral("where MASTERBILLID BETWEEN ") + QuotedStr(range.LowNumber) + QStringLiteral(" AND ") +
             QuotedStr(range.HighNumber);
    case kDatePage:
      return QStringLiteral("where ACC_DATE BETWEEN ") + QuotedStr(FormatDateText(range.LowDate, dateSeparator)) +
             QStringLiteral(" AND ") + QuotedStr(FormatDateText(range.HighDate, dateSeparator));
    default:
      return QString();
  }
}

QString BuildRangeStatement(const QString& tableName, int activePage, const TQueryRange& range,
                            const QString& dateSeparator) {
  QStringList lines;
  lines << QStringLiteral("SELECT * FROM ") + tableName + QLatin1Char(' ');
  const QString condition = RangeCondition(activePage, range, dateSeparator);
  if (!condition.isEmpty()) lines << condition;
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  return text;
}
