// What the provider needs to know about a statement's text: the table it reads and the
// fields of its ORDER BY clause. A small tokenizer that understands literals, quoted names,
// comments and parentheses; anything it cannot read gives "not known".
#pragma once
#include <QString>
#include <optional>
#include <vector>

// The first table after the top-level FROM: unquoted names in capitals, quoted names as
// written. Empty when there is none (or it is a derived table).
QString TableNameOfStatement(const QString& sql);

struct TOrderItem {
  QString field;     // column name (unquoted names in capitals); empty when `position` is set
  int position = 0;  // 1-based column position for "ORDER BY 2"
  bool descending = false;
};

// The items of the top-level ORDER BY clause. std::nullopt when there is no ORDER BY;
// an empty list when there is one but an item is not a plain column (an expression).
std::optional<std::vector<TOrderItem>> OrderByOfStatement(const QString& sql);
