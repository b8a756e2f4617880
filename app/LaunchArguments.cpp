#include "app/LaunchArguments.h"

#include "app/RegionalDate.h"

TLaunchArguments ParseLaunchArguments(const QStringList& args, const QLocale& locale, const QDate& today) {
  TLaunchArguments out;
  out.Voucher = args.value(1);
  out.Date = today;
  if (args.size() > 2) {
    if (auto date = TryStrToDate(args[2], locale, today)) out.Date = *date;
  }
  return out;
}
