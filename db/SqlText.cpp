#include "db/SqlText.h"

namespace {

struct Token {
  enum Kind { kWord, kQuoted, kNumber, kSymbol } kind;
  QString text;  // words in capitals, quoted names without their quotes
  int depth;     // parenthesis depth at the token
};

std::vector<Token> Tokenize(const QString& sql) {
  std::vector<Token> out;
  const qsizetype n = sql.size();
  int depth = 0;
  qsizetype i = 0;
  while (i < n) {
    const QChar c = sql[i];
    if (c.isSpace()) {
      ++i;
    } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
      while (i < n && sql[i] != u'\n') ++i;
    } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
      const qsizetype e = sql.indexOf(QStringLiteral("*/"), i + 2);
      i = e < 0 ? n : e + 2;
    } else if (c == u'\'') {
      // String literal ('' inside stands for one quote): skipped, it names nothing.
      ++i;
      while (i < n) {
        if (sql[i] == u'\'') {
          if (i + 1 < n && sql[i + 1] == u'\'') i += 2;
          else break;
        } else {
          ++i;
        }
      }
      ++i;
      out.push_back({Token::kSymbol, QStringLiteral("'"), depth});
    } else if (c == u'"') {
      QString name;
      ++i;
      while (i < n) {
        if (sql[i] == u'"') {
          if (i + 1 < n && sql[i + 1] == u'"') {
            name += u'"';
            i += 2;
          } else {
            break;
          }
        } else {
          name += sql[i++];
        }
      }
      ++i;
      out.push_back({Token::kQuoted, name, depth});
    } else if (c.isLetter() || c == u'_' || c == u'$') {
      const qsizetype s = i;
      while (i < n && (sql[i].isLetterOrNumber() || sql[i] == u'_' || sql[i] == u'$')) ++i;
      out.push_back({Token::kWord, sql.mid(s, i - s).toUpper(), depth});
    } else if (c.isDigit()) {
      const qsizetype s = i;
      while (i < n && (sql[i].isDigit() || sql[i] == u'.')) ++i;
      out.push_back({Token::kNumber, sql.mid(s, i - s), depth});
    } else {
      if (c == u'(') {
        out.push_back({Token::kSymbol, QString(c), depth});
        ++depth;
      } else if (c == u')') {
        if (depth > 0) --depth;
        out.push_back({Token::kSymbol, QString(c), depth});
      } else {
        out.push_back({Token::kSymbol, QString(c), depth});
      }
      ++i;
    }
  }
  return out;
}

bool IsWord(const Token& t, const char* w) { return t.kind == Token::kWord && t.text == QLatin1String(w); }

}  // namespace

QString TableNameOfStatement(const QString& sql) {
  const std::vector<Token> t = Tokenize(sql);
  for (size_t i = 0; i + 1 < t.size(); ++i) {
    if (t[i].depth == 0 && IsWord(t[i], "FROM")) {
      const Token& name = t[i + 1];
      if (name.kind == Token::kWord || name.kind == Token::kQuoted) return name.text;
      return QString();
    }
  }
  return QString();
}

std::optional<std::vector<TOrderItem>> OrderByOfStatement(const QString& sql) {
  const std::vector<Token> t = Tokenize(sql);
  size_t start = t.size();
  for (size_t i = 0; i + 1 < t.size(); ++i)
    if (t[i].depth == 0 && IsWord(t[i], "ORDER") && IsWord(t[i + 1], "BY")) start = i + 2;
  if (start == t.size()) return std::nullopt;

  std::vector<TOrderItem> items;
  size_t i = start;
  while (i < t.size()) {
    TOrderItem item;
    // Name, possibly qualified by an alias ("a.NAME"): the last part names the column.
    if (t[i].kind == Token::kNumber) {
      bool ok = false;
      item.position = t[i].text.toInt(&ok);
      if (!ok || item.position < 1) return std::vector<TOrderItem>{};
      ++i;
    } else if (t[i].kind == Token::kWord || t[i].kind == Token::kQuoted) {
      item.field = t[i].text;
      ++i;
      while (i + 1 < t.size() && t[i].kind == Token::kSymbol && t[i].text == QLatin1String(".") &&
             (t[i + 1].kind == Token::kWord || t[i + 1].kind == Token::kQuoted)) {
        item.field = t[i + 1].text;
        i += 2;
      }
    } else {
      return std::vector<TOrderItem>{};
    }
    // Modifiers.
    while (i < t.size()) {
      if (IsWord(t[i], "ASC") || IsWord(t[i], "ASCENDING")) {
        ++i;
      } else if (IsWord(t[i], "DESC") || IsWord(t[i], "DESCENDING")) {
        item.descending = true;
        ++i;
      } else if (IsWord(t[i], "COLLATE") && i + 1 < t.size()) {
        i += 2;
      } else if (IsWord(t[i], "NULLS") && i + 1 < t.size()) {
        i += 2;
      } else {
        break;
      }
    }
    items.push_back(item);
    if (i < t.size() && t[i].kind == Token::kSymbol && t[i].text == QLatin1String(",")) {
      ++i;
      continue;
    }
    // Clauses that may follow ORDER BY end it; anything else makes it an expression.
    if (i < t.size() && !(IsWord(t[i], "ROWS") || IsWord(t[i], "FOR") || IsWord(t[i], "OFFSET") ||
                          IsWord(t[i], "FETCH") || IsWord(t[i], "PLAN") || IsWord(t[i], "WITH") ||
                          (t[i].kind == Token::kSymbol && t[i].text == QLatin1String(";"))))
      return std::vector<TOrderItem>{};
    break;
  }
  return items;
}
