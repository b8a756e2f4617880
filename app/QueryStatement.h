// The two range statements of the query form: one SELECT line per change-log table and the
// condition line of the active page, each line ended by CR LF.
#pragma once
#include <QDate>
#include <QString>

// The bounds the user typed or picked; only the ones of the active page reach a statement.
struct TQueryRange {
  QString LowNumber;   // lower voucher number, sent as typed
  QString HighNumber;  // upper voucher number, sent as typed
  QDate LowDate;       // only the date part of the start picker
  QDate HighDate;      // only the date part of the end picker
};

// Page indices of the range page control.
constexpr int kNumberPage = 0;
constexpr int kDatePage = 1;

// `text` as an SQL string literal: between single quotes, each quote inside written twice.
QString QuotedStr(const QString& text);

// "YYYY/MM/DD" with each slash replaced by `separator` (which may be empty).
QString FormatDateText(const QDate& date, const QString& separator);

// The condition line for the active page; empty for any other index (no page active).
QString RangeCondition(int activePage, const TQueryRange& range, const QString& dateSeparator);

// "SELECT * FROM <table> " then the condition line when there is one; every line ends with CR LF.
QString BuildRangeStatement(const QString& tableName, int activePage, const TQueryRange& range,
                            const QString& dateSeparator);
