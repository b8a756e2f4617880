#include "platform/FormText.h"

#include <cmath>
#include <limits>

#include "platform/Exceptions.h"

TFormValue TFormValue::Int(int64_t v) {
  TFormValue r;
  r.kind = Kind::Integer;
  r.integer = v;
  return r;
}
TFormValue TFormValue::Real(double v) {
  TFormValue r;
  r.kind = Kind::Float;
  r.real = v;
  return r;
}
TFormValue TFormValue::Str(const QString& s) {
  TFormValue r;
  r.kind = Kind::String;
  r.text = s;
  return r;
}
TFormValue TFormValue::Identifier(const QString& s) {
  TFormValue r;
  r.kind = Kind::Ident;
  r.text = s;
  return r;
}
TFormValue TFormValue::SetOf(const QStringList& names) {
  TFormValue r;
  r.kind = Kind::Set;
  r.set = names;
  return r;
}
TFormValue TFormValue::Bytes(const QByteArray& b) {
  TFormValue r;
  r.kind = Kind::Binary;
  r.bytes = b;
  return r;
}

QString TFormValue::KindName() const {
  switch (kind) {
    case Kind::Integer: return QStringLiteral("integer");
    case Kind::Float: return QStringLiteral("number");
    case Kind::String: return QStringLiteral("string");
    case Kind::Ident: return QStringLiteral("identifier");
    case Kind::Set: return QStringLiteral("set");
    case Kind::List: return QStringLiteral("list");
    case Kind::Binary: return QStringLiteral("byte block");
    case Kind::Collection: return QStringLiteral("collection");
  }
  return QString();
}

// ===================================================================================
// Reading
// ===================================================================================

namespace {

constexpr int kMaxDepth = 200;

enum class Tok { End, Ident, String, Integer, Float, Symbol };

class Parser {
 public:
  explicit Parser(const QString& text) : s_(text) { Next(); }

  TFormObject ParseRoot() {
    TFormObject o = ParseObject(0);
    if (tok_ != Tok::End) Error(QStringLiteral("End of text expected"));
    return o;
  }

 private:
  [[noreturn]] void Error(const QString& what) const {
    throw EParserError(QStringLiteral("%1 on line %2").arg(what).arg(tokLine_));
  }

  QChar Peek(int ahead = 0) const {
    const qsizetype i = pos_ + ahead;
    return i < s_.size() ? s_.at(i) : QChar();
  }
  bool AtEnd() const { return pos_ >= s_.size(); }

  void SkipBlanks() {
    while (!AtEnd()) {
      const QChar c = Peek();
      if (c == QLatin1Char('\n')) {
        ++line_;
        ++pos_;
      } else if (c.isSpace()) {
        ++pos_;
      } else {
        break;
      }
    }
  }

  static bool IsIdentStart(QChar c) { return c == QLatin1Char('_') || (c.unicode() < 128 && c.isLetter()); }
  static bool IsIdentChar(QChar c) { return IsIdentStart(c) || (c.unicode() < 128 && c.isDigit()); }
  static int HexDigit(QChar c) {
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    return -1;
  }

  void Next() {
    SkipBlanks();
    tokLine_ = line_;
    text_.clear();
    if (AtEnd()) {
      tok_ = Tok::End;
      return;
    }
    const QChar c = Peek();
    if (IsIdentStart(c)) {
      const qsizetype start = pos_;
      while (!AtEnd() && IsIdentChar(Peek())) ++pos_;
      text_ = s_.mid(start, pos_ - start);
      tok_ = Tok::Ident;
      return;
    }
    if (c == QLatin1Char('\'') || c == QLatin1Char('#')) {
      ReadString();
      return;
    }
    if (c == QLatin1Char('$')) {
      ++pos_;
      uint64_t v = 0;
      int digits = 0;
      while (!AtEnd() && HexDigit(Peek()) >= 0) {
        if (++digits > 16) Error(QStringLiteral("Integer out of range"));
        v = (v << 4) | static_cast<uint64_t>(HexDigit(Peek()));
        ++pos_;
      }
      if (digits == 0) Error(QStringLiteral("Number expected"));
      // Up to eight digits are a 32-bit pattern ($FFFFFFFF is -1), as the platform writes them.
      integer_ = digits <= 8 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(v)))
                             : static_cast<int64_t>(v);
      magnitude_ = 0;  // already a bit pattern: never out of range
      tok_ = Tok::Integer;
      return;
    }
    if (c.unicode() < 128 && c.isDigit()) {
      ReadNumber();
      return;
    }
    ++pos_;
    text_ = QString(c);
    tok_ = Tok::Symbol;
  }

  void ReadNumber() {
    const qsizetype start = pos_;
    auto digits = [this] {
      int n = 0;
      while (!AtEnd() && Peek().unicode() < 128 && Peek().isDigit()) {
        ++pos_;
        ++n;
      }
      return n;
    };
    digits();
    bool isFloat = false;
    if (Peek() == QLatin1Char('.') && Peek(1).unicode() < 128 && Peek(1).isDigit()) {
      isFloat = true;
      ++pos_;
      digits();
    }
    if (Peek() == QLatin1Char('e') || Peek() == QLatin1Char('E')) {
      qsizetype save = pos_;
      ++pos_;
      if (Peek() == QLatin1Char('+') || Peek() == QLatin1Char('-')) ++pos_;
      if (digits() == 0) pos_ = save;
      else isFloat = true;
    }
    const QString num = s_.mid(start, pos_ - start);
    if (!AtEnd() && IsIdentStart(Peek())) Error(QStringLiteral("Invalid number"));
    bool ok = false;
    if (isFloat) {
      real_ = num.toDouble(&ok);
      if (!ok || !std::isfinite(real_)) Error(QStringLiteral("Invalid number"));
      tok_ = Tok::Float;
    } else {
      magnitude_ = num.toULongLong(&ok);
      if (!ok) Error(QStringLiteral("Integer out of range"));
      integer_ = static_cast<int64_t>(magnitude_);
      tok_ = Tok::Integer;
    }
  }

  void ReadString() {
    QString out;
    for (;;) {
      const QChar c = Peek();
      if (c == QLatin1Char('\'')) {
        ++pos_;
        for (;;) {
          if (AtEnd() || Peek() == QLatin1Char('\n') || Peek() == QLatin1Char('\r'))
            Error(QStringLiteral("Unterminated string"));
          const QChar d = Peek();
          ++pos_;
          if (d == QLatin1Char('\'')) {
            if (Peek() == QLatin1Char('\'')) {
              out += d;
              ++pos_;
              continue;
            }
            break;
          }
          out += d;
        }
      } else if (c == QLatin1Char('#')) {
        ++pos_;
        uint32_t code = 0;
        int n = 0;
        if (Peek() == QLatin1Char('$')) {
          ++pos_;
          while (!AtEnd() && HexDigit(Peek()) >= 0) {
            code = code * 16 + static_cast<uint32_t>(HexDigit(Peek()));
            ++pos_;
            if (++n > 6) break;
          }
        } else {
          while (!AtEnd() && Peek().unicode() < 128 && Peek().isDigit()) {
            code = code * 10 + static_cast<uint32_t>(Peek().unicode() - '0');
            ++pos_;
            if (++n > 6) break;
          }
        }
        if (n == 0 || code > 0xFFFF) Error(QStringLiteral("Invalid character code"));
        out += QChar(static_cast<char16_t>(code));
      } else {
        break;
      }
    }
    text_ = out;
    tok_ = Tok::String;
  }

  bool IsSymbol(char c) const { return tok_ == Tok::Symbol && text_.size() == 1 && text_.at(0) == QLatin1Char(c); }
  bool IsKeyword(const char* k) const {
    return tok_ == Tok::Ident && text_.compare(QLatin1String(k), Qt::CaseInsensitive) == 0;
  }
  void Expect(char c) {
    if (!IsSymbol(c)) Error(QStringLiteral("'%1' expected").arg(QLatin1Char(c)));
    Next();
  }
  QString ExpectIdent() {
    if (tok_ != Tok::Ident) Error(QStringLiteral("Identifier expected"));
    QString s = text_;
    Next();
    return s;
  }
  // name ("." name)*
  QString DottedIdent() {
    QString s = ExpectIdent();
    while (IsSymbol('.')) {
      Next();
      s += QLatin1Char('.') + ExpectIdent();
    }
    return s;
  }
  void CheckDepth(int depth) const {
    if (depth > kMaxDepth) Error(QStringLiteral("Nesting too deep"));
  }

  TFormObject ParseObject(int depth) {
    CheckDepth(depth);
    if (!(IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline")))
      Error(QStringLiteral("'object' expected"));
    TFormObject o;
    o.line = tokLine_;
    Next();
    QString first = ExpectIdent();
    if (IsSymbol(':')) {
      Next();
      o.name = first;
      o.className = ExpectIdent();
    } else {
      o.className = first;
    }
    if (IsSymbol('[')) {  // creation index of inherited objects: read and ignored
      Next();
      if (tok_ != Tok::Integer) Error(QStringLiteral("Number expected"));
      Next();
      Expect(']');
    }
    for (;;) {
      if (tok_ == Tok::End) Error(QStringLiteral("'end' expected"));
      if (IsKeyword("end")) {
        Next();
        break;
      }
      if (IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline")) {
        o.children.push_back(ParseObject(depth + 1));
        continue;
      }
      o.props.push_back(ParseProperty(depth));
    }
    return o;
  }

  TFormProperty ParseProperty(int depth) {
    TFormProperty p;
    p.line = tokLine_;
    p.name = DottedIdent();
    Expect('=');
    p.value = ParseValue(depth + 1);
    return p;
  }

  TFormValue ParseValue(int depth) {
    CheckDepth(depth);
    if (tok_ == Tok::String) {
      QString s = text_;
      Next();
      while (IsSymbol('+')) {
        Next();
        if (tok_ != Tok::String) Error(QStringLiteral("String expected"));
        s += text_;
        Next();
      }
      return TFormValue::Str(s);
    }
    if (IsSymbol('-') || IsSymbol('+')) {
      const bool neg = IsSymbol('-');
      Next();
      if (tok_ == Tok::Integer) {
        constexpr uint64_t kLimit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
        if (magnitude_ > kLimit + (neg ? 1 : 0)) Error(QStringLiteral("Integer out of range"));
        int64_t v = integer_;
        if (neg) v = static_cast<int64_t>(uint64_t{0} - static_cast<uint64_t>(v));  // wraps like the platform
        Next();
        return TFormValue::Int(v);
      }
      if (tok_ == Tok::Float) {
        const double v = real_;
        Next();
        return TFormValue::Real(neg ? -v : v);
      }
      Error(QStringLiteral("Number expected"));
    }
    if (tok_ == Tok::Integer) {
      if (magnitude_ > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
        Error(QStringLiteral("Integer out of range"));
      const int64_t v = integer_;
      Next();
      return TFormValue::Int(v);
    }
    if (tok_ == Tok::Float) {
      const double v = real_;
      Next();
      return TFormValue::Real(v);
    }
    if (IsKeyword("end") || IsKeyword("object") || IsKeyword("inherited") || IsKeyword("inline"))
      Error(QStringLiteral("Property value expected"));
    if (tok_ == Tok::Ident) return TFormValue::Identifier(DottedIdent());
    if (IsSymbol('[')) {
      Next();
      QStringList names;
      if (!IsSymbol(']')) {
        for (;;) {
          if (tok_ == Tok::Ident) {
            names << text_;
          } else if (tok_ == Tok::Integer) {
            names << QString::number(integer_);
          } else {
            Error(QStringLiteral("Identifier expected"));
          }
          Next();
          if (IsSymbol(']')) break;
          Expect(',');
        }
      }
      Next();
      return TFormValue::SetOf(names);
    }
    if (IsSymbol('(')) {
      Next();
      TFormValue v;
      v.kind = TFormValue::Kind::List;
      while (!IsSymbol(')')) {
        if (tok_ == Tok::End) Error(QStringLiteral("')' expected"));
        v.list.push_back(ParseValue(depth + 1));
      }
      Next();
      return v;
    }
    if (IsSymbol('{')) return ParseBinary();
    if (IsSymbol('<')) {
      Next();
      TFormValue v;
      v.kind = TFormValue::Kind::Collection;
      while (!IsSymbol('>')) {
        if (!IsKeyword("item")) Error(QStringLiteral("'item' expected"));
        Next();
        if (IsSymbol('[')) {
          Next();
          if (tok_ != Tok::Integer) Error(QStringLiteral("Number expected"));
          Next();
          Expect(']');
        }
        TFormItem item;
        for (;;) {
          if (tok_ == Tok::End) Error(QStringLiteral("'end' expected"));
          if (IsKeyword("end")) {
            Next();
            break;
          }
          item.props.push_back(ParseProperty(depth + 1));
        }
        v.items.push_back(std::move(item));
      }
      Next();
      return v;
    }
    if (tok_ == Tok::End) Error(QStringLiteral("Property value expected"));
    Error(QStringLiteral("Invalid property value"));
  }

  // The lexer stopped right after "{": read hex digit pairs up to "}".
  TFormValue ParseBinary() {
    QByteArray bytes;
    int high = -1;
    for (;;) {
      if (AtEnd()) Error(QStringLiteral("'}' expected"));
      const QChar c = Peek();
      ++pos_;
      if (c == QLatin1Char('}')) break;
      if (c == QLatin1Char('\n')) {
        ++line_;
        continue;
      }
      if (c.isSpace()) continue;
      const int d = HexDigit(c);
      if (d < 0) {
        tokLine_ = line_;
        Error(QStringLiteral("Invalid binary value"));
      }
      if (high < 0) {
        high = d;
      } else {
        bytes.append(static_cast<char>((high << 4) | d));
        high = -1;
      }
    }
    if (high >= 0) {
      tokLine_ = line_;
      Error(QStringLiteral("Invalid binary value"));
    }
    Next();
    return TFormValue::Bytes(bytes);
  }

  const QString& s_;
  qsizetype pos_ = 0;
  int line_ = 1;
  int tokLine_ = 1;
  Tok tok_ = Tok::End;
  QString text_;
  int64_t integer_ = 0;
  uint64_t magnitude_ = 0;  // decimal integers: the digits' value before any sign
  double real_ = 0;
};

}  // namespace

TFormObject ParseFormText(const QString& text) { return Parser(text).ParseRoot(); }

// ===================================================================================
// Writing
// ===================================================================================

namespace {

QString Indent(int n) { return QString(n, QLatin1Char(' ')); }

// Quoted runs for printable ASCII, #nnn for everything else; long texts are split with "+".
QString StringToText(const QString& s, int indent) {
  if (s.isEmpty()) return QStringLiteral("''");
  QString out;
  qsizetype lineStart = 0;
  bool inQuote = false;
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (out.size() - lineStart >= 64) {
      if (inQuote) out += QLatin1Char('\'');
      inQuote = false;
      out += QStringLiteral(" +\n") + Indent(indent + 2);
      lineStart = out.size();
    }
    const ushort u = s.at(i).unicode();
    if (u >= 32 && u < 127) {
      if (!inQuote) {
        out += QLatin1Char('\'');
        inQuote = true;
      }
      if (u == '\'') out += QLatin1Char('\'');
      out += s.at(i);
    } else {
      if (inQuote) out += QLatin1Char('\'');
      inQuote = false;
      out += QLatin1Char('#') + QString::number(u);
    }
  }
  if (inQuote) out += QLatin1Char('\'');
  return out;
}

QString FloatToText(double v) {
  QString s = QString::number(v, 'g', 17);
  if (!s.contains(QLatin1Char('.')) && !s.contains(QLatin1Char('e')) && !s.contains(QLatin1Char('E')))
    s += QStringLiteral(".0");
  // Exponents need a mantissa with a point to read back as a number ("1e+20" reads fine too).
  return s;
}

void WriteProps(QString& out, const std::vector<TFormProperty>& props, int indent);

void WriteObject(QString& out, const TFormObject& o, int indent) {
  out += Indent(indent) + QStringLiteral("object ");
  if (!o.name.isEmpty()) out += o.name + QStringLiteral(": ");
  out += o.className + QLatin1Char('\n');
  WriteProps(out, o.props, indent + 2);
  for (const TFormObject& c : o.children) WriteObject(out, c, indent + 2);
  out += Indent(indent) + QStringLiteral("end\n");
}

void WriteProps(QString& out, const std::vector<TFormProperty>& props, int indent) {
  for (const TFormProperty& p : props)
    out += Indent(indent) + p.name + QStringLiteral(" = ") + FormValueToText(p.value, indent) + QLatin1Char('\n');
}

}  // namespace

QString FormValueToText(const TFormValue& v, int indent) {
  switch (v.kind) {
    case TFormValue::Kind::Integer: return QString::number(v.integer);
    case TFormValue::Kind::Float: return FloatToText(v.real);
    case TFormValue::Kind::String: return StringToText(v.text, indent);
    case TFormValue::Kind::Ident: return v.text;
    case TFormValue::Kind::Set: return QLatin1Char('[') + v.set.join(QStringLiteral(", ")) + QLatin1Char(']');
    case TFormValue::Kind::List: {
      QString out = QStringLiteral("(");
      for (const TFormValue& e : v.list) out += QLatin1Char('\n') + Indent(indent + 2) + FormValueToText(e, indent + 2);
      return out + QLatin1Char(')');
    }
    case TFormValue::Kind::Binary: {
      QString out = QStringLiteral("{");
      const QByteArray hex = v.bytes.toHex().toUpper();
      for (qsizetype i = 0; i < hex.size(); i += 64)
        out += QLatin1Char('\n') + Indent(indent + 2) + QString::fromLatin1(hex.mid(i, 64));
      return out + QLatin1Char('}');
    }
    case TFormValue::Kind::Collection: {
      QString out = QStringLiteral("<");
      for (const TFormItem& item : v.items) {
        out += QLatin1Char('\n') + Indent(indent + 2) + QStringLiteral("item\n");
        WriteProps(out, item.props, indent + 4);
        out += Indent(indent + 2) + QStringLiteral("end");
      }
      return out + QLatin1Char('>');
    }
  }
  return QString();
}

QString FormObjectToText(const TFormObject& obj) {
  QString out;
  WriteObject(out, obj, 0);
  return out;
}
