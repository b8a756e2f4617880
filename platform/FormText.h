// The text of a stored form definition, as a tree, and its syntax:
//
//   object Name: TClass            (also "inherited"/"inline"; the name may be left out)
//     Prop = 12                    integers (decimal, or hexadecimal after "$"), -3, 1.5E3
//     Prop.Sub = 'text'#13#10'x'   strings: quoted runs ('' is one quote) and #nnn codes,
//       + 'more'                   joined by "+" across lines
//     Prop = clRed                 identifiers (True, False, nil, enumeration values, names)
//     Prop = [fsBold, fsItalic]    sets
//     Prop = ('a' 'b' 3)           lists (string lists)
//     Prop = {0A0B0C}              byte blocks in hexadecimal
//     Prop = <item A = 1 end>      collections of items with properties
//     object Child: TChild ... end nested objects
//   end
//
// Failures raise EParserError with "<what> on line <n>". Nesting deeper than 200 levels is
// refused the same way.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

struct TFormItem;

struct TFormValue {
  enum class Kind { Integer, Float, String, Ident, Set, List, Binary, Collection };
  Kind kind = Kind::Integer;
  int64_t integer = 0;
  double real = 0;
  QString text;                   // String, Ident
  QStringList set;                // Set: the element names
  std::vector<TFormValue> list;   // List
  QByteArray bytes;               // Binary
  std::vector<TFormItem> items;   // Collection

  static TFormValue Int(int64_t v);
  static TFormValue Real(double v);
  static TFormValue Str(const QString& s);
  static TFormValue Identifier(const QString& s);
  static TFormValue SetOf(const QStringList& names);
  static TFormValue Bytes(const QByteArray& b);
  // A short description for messages ("integer", "string", ...).
  QString KindName() const;
};

struct TFormProperty {
  QString name;  // may be dotted: "Font.Name"
  TFormValue value;
  int line = 0;
};

struct TFormItem {
  std::vector<TFormProperty> props;
};

struct TFormObject {
  QString name;
  QString className;
  std::vector<TFormProperty> props;
  std::vector<TFormObject> children;
  int line = 0;
};

// Parses one object (with everything inside it); text after its "end" is an error.
TFormObject ParseFormText(const QString& text);
// Writes an object in the form ParseFormText reads back to the same tree.
QString FormObjectToText(const TFormObject& obj);
// One value as it appears after "Name = " (multi-line values indented by `indent` spaces).
QString FormValueToText(const TFormValue& v, int indent = 0);
