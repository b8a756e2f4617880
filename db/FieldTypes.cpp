#include "db/FieldTypes.h"

QString FieldTypeName(TFieldType t) {
  static const char* const names[] = {
      "Unknown",   "String",    "Smallint",  "Integer",    "Word",      "Boolean",  "Float",
      "Currency",  "BCD",       "Date",      "Time",       "DateTime",  "Bytes",    "VarBytes",
      "AutoInc",   "Blob",      "Memo",      "Graphic",    "FmtMemo",   "ParadoxOle", "DBaseOle",
      "TypedBinary", "Cursor",  "FixedChar", "WideString", "Largeint",  "ADT",      "Array",
      "Reference", "DataSet",   "OraBlob",   "OraClob",    "Variant",   "Interface", "IDispatch",
      "Guid",      "TimeStamp", "FMTBcd",
  };
  const int i = static_cast<int>(t);
  if (i < 0 || i >= static_cast<int>(sizeof names / sizeof names[0])) return QStringLiteral("Unknown");
  return QString::fromLatin1(names[i]);
}
