// What the command line gives the query form: argument 1 a voucher number for both ends of the
// number range, argument 2 a date (regional short format) for both ends of the date range.
#pragma once
#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>

struct TLaunchArguments {
  QString Voucher;  // empty when absent
  QDate Date;       // `today` when absent or not a valid date
};

// `args` as the platform gives them: the program first, then the arguments; extra ones are ignored.
TLaunchArguments ParseLaunchArguments(const QStringList& args, const QLocale& locale, const QDate& today);
