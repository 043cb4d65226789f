// SPDX-License-Identifier: GPL-3.0-or-later
#include "SqlParser.h"

#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool SameWord(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

// "name", [name] or `name` -> name ("" inside "" stands for one quote).
std::string Unquote(const std::string& text) {
  if (text.size() < 2) return text;
  char open = text.front(), close = text.back();
  if (!((open == '"' && close == '"') || (open == '`' && close == '`') ||
        (open == '[' && close == ']'))) {
    return text;
  }
  std::string inner = text.substr(1, text.size() - 2);
  if (open == '[') return inner;
  std::string out;
  for (size_t i = 0; i < inner.size(); ++i) {
    out += inner[i];
    if (inner[i] == open && i + 1 < inner.size() && inner[i + 1] == open) ++i;
  }
  return out;
}

SqlError Syntax(const std::string& message) { return {"42000", "Syntax error: " + message}; }

// Takes a leading keyword (whole word) off the text.
bool TakeWord(std::string_view& text, std::string_view word) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  if (text.size() - i < word.size() || !SameWord(text.substr(i, word.size()), word)) return false;
  size_t end = i + word.size();
  if (end < text.size() && !IsBlank(text[end]) && text[end] != '(' && text[end] != '*') {
    return false;
  }
  text.remove_prefix(end);
  return true;
}

// Walks the text keeping track of quotes. A quote opens only where a name or value starts (at
// the beginning, after a blank, a comma or a bracket), so an apostrophe inside a path or name
// stays a plain character. Calls visit(position) for every character outside quotes.
template <typename Visit>
void OutsideQuotes(std::string_view text, Visit visit) {
  char quote = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quote) {
      if (c == quote) {
        if (quote != ']' && i + 1 < text.size() && text[i + 1] == quote) {
          ++i;
        } else {
          quote = 0;
        }
      }
      continue;
    }
    bool atStart = i == 0 || IsBlank(text[i - 1]) || text[i - 1] == ',' || text[i - 1] == '(';
    if (atStart && (c == '\'' || c == '"' || c == '`' || c == '[')) {
      quote = c == '[' ? ']' : c;
      continue;
    }
    visit(i);
  }
}

// Pieces between the commas outside quotes. Brackets do not group: a name may hold an
// unmatched one (a caption cut short), and the pieces are joined back where needed.
std::vector<std::string> SplitAtCommas(std::string_view text) {
  std::vector<std::string> items;
  size_t start = 0;
  OutsideQuotes(text, [&](size_t i) {
    if (text[i] == ',') {
      items.emplace_back(text.substr(start, i - start));
      start = i + 1;
    }
  });
  items.emplace_back(text.substr(start));
  return items;
}

// Positions of the opening brackets outside quotes.
std::vector<size_t> OpeningBrackets(std::string_view text) {
  std::vector<size_t> positions;
  OutsideQuotes(text, [&](size_t i) {
    if (text[i] == '(') positions.push_back(i);
  });
  return positions;
}

std::string CleanTable(std::string_view text) { return Unquote(Trim(text)); }

bool KnownType(std::string_view type) {
  static const char* const kTypes[] = {
      "CHAR",        "CHARACTER", "VARCHAR",  "NCHAR",   "NVARCHAR", "VARCHAR2", "TEXT",
      "LONGVARCHAR", "STRING",    "MEMO",     "INTEGER", "INT",      "SMALLINT", "BIGINT",
      "TINYINT",     "DECIMAL",   "NUMERIC",  "FLOAT",   "REAL",     "DOUBLE",   "DATE",
      "TIME",        "TIMESTAMP", "DATETIME", "BIT",     "BOOLEAN",  "CURRENCY", "LONG"};
  for (const char* t : kTypes) {
    if (SameWord(type, t)) return true;
  }
  return false;
}

// "name TYPE", "name TYPE(n)" or "name TYPE(n, m)"; the name is everything before the type.
std::optional<ColumnDefinition> ParseDefinition(const std::string& item) {
  std::string text = Trim(item);
  if (!text.empty() && text.back() == ')') {
    size_t open = text.rfind('(');
    if (open == std::string::npos) return std::nullopt;
    std::string size = text.substr(open + 1, text.size() - open - 2);
    if (Trim(size).empty() || size.find_first_not_of("0123456789, \t") != std::string::npos) {
      return std::nullopt;
    }
    text = Trim(std::string_view(text).substr(0, open));
  }
  size_t blank = text.find_last_of(" \t\r\n\f");
  if (blank == std::string::npos) return std::nullopt;
  std::string type = text.substr(blank + 1);
  std::string name = Unquote(Trim(std::string_view(text).substr(0, blank)));
  if (name.empty() || !KnownType(type)) return std::nullopt;
  return ColumnDefinition{name, type};
}

// The definitions between the brackets of CREATE TABLE. A comma ends a definition only where
// the text before it is a whole one, so commas inside names and in DECIMAL(10,2) stay inside.
std::variant<std::vector<ColumnDefinition>, SqlError> ParseDefinitions(std::string_view inner) {
  std::vector<ColumnDefinition> columns;
  std::string current;
  bool first = true;
  for (const std::string& piece : SplitAtCommas(inner)) {
    current = first ? piece : current + "," + piece;
    first = false;
    if (auto definition = ParseDefinition(current)) {
      for (const ColumnDefinition& other : columns) {
        if (SameWord(other.name, definition->name)) {
          return SqlError{"42S21", "Column \"" + definition->name + "\" is defined twice"};
        }
      }
      columns.push_back(*definition);
      current.clear();
      first = true;
    }
  }
  if (!first || columns.empty()) {
    return Syntax("column definition \"" + Trim(current) +
                  "\" is not a name followed by a type such as VARCHAR(255) or CHAR");
  }
  return columns;
}

std::variant<SqlStatement, SqlError> ParseCreate(std::string_view rest) {
  std::string text = Trim(rest);
  if (text.empty() || text.back() != ')') {
    return Syntax("CREATE TABLE needs a file name and (column type, ...)");
  }
  // Every opening bracket may start the definitions; the folders decide later.
  CreateTableStatement create;
  std::optional<SqlError> firstError;
  for (size_t open : OpeningBrackets(text)) {
    std::string table = CleanTable(std::string_view(text).substr(0, open));
    if (table.empty()) continue;
    auto columns =
        ParseDefinitions(std::string_view(text).substr(open + 1, text.size() - open - 2));
    if (auto error = std::get_if<SqlError>(&columns)) {
      if (!firstError) firstError = *error;
      continue;
    }
    create.readings.push_back({table, std::get<std::vector<ColumnDefinition>>(columns)});
  }
  if (create.readings.empty()) {
    return firstError ? *firstError : Syntax("CREATE TABLE needs a file name");
  }
  return SqlStatement{std::move(create)};
}

std::variant<std::vector<SqlValue>, SqlError> ParseValues(std::string_view inner) {
  std::vector<SqlValue> values;
  int parameters = 0;
  for (const std::string& item : SplitAtCommas(inner)) {
    std::string value = Trim(item);
    SqlValue v;
    if (value == "?") {
      v.kind = SqlValue::Parameter;
      v.parameter = ++parameters;
    } else if (SameWord(value, "NULL")) {
      v.kind = SqlValue::Null;
    } else if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') {
      v.kind = SqlValue::Text;
      for (size_t i = 1; i + 1 < value.size(); ++i) {
        v.text += value[i];
        if (value[i] == '\'' && value[i + 1] == '\'') ++i;
      }
    } else if (!value.empty() && value.find_first_not_of("+-.0123456789eE") == std::string::npos) {
      v.kind = SqlValue::Text;
      v.text = value;
    } else {
      return Syntax("value \"" + value + "\" is not ?, a 'quoted text', a number or NULL");
    }
    values.push_back(std::move(v));
  }
  return values;
}

std::variant<SqlStatement, SqlError> ParseInsert(std::string_view rest) {
  if (!TakeWord(rest, "INTO")) return Syntax("INSERT must be followed by INTO");
  std::string text = Trim(rest);
  // The last VALUES followed by a bracketed list that ends the statement.
  std::optional<size_t> at;
  for (size_t i = text.size() >= 6 ? text.size() - 6 + 1 : 0; i-- > 0;) {
    if (!SameWord(std::string_view(text).substr(i, 6), "VALUES")) continue;
    if (i > 0 && !IsBlank(text[i - 1]) && text[i - 1] != ')') continue;
    std::string list = Trim(std::string_view(text).substr(i + 6));
    if (list.size() >= 2 && list.front() == '(' && list.back() == ')') {
      at = i;
      break;
    }
  }
  if (!at) return Syntax("INSERT INTO needs VALUES (...) at its end");
  std::string list = Trim(std::string_view(text).substr(*at + 6));
  auto values = ParseValues(std::string_view(list).substr(1, list.size() - 2));
  if (auto error = std::get_if<SqlError>(&values)) return *error;

  InsertStatement insert;
  insert.values = std::get<std::vector<SqlValue>>(values);
  std::string target = Trim(std::string_view(text).substr(0, *at));
  if (!target.empty() && target.back() == ')') {
    for (size_t open : OpeningBrackets(target)) {
      std::string table = CleanTable(std::string_view(target).substr(0, open));
      if (table.empty()) continue;
      insert.readings.push_back({table, SplitAtCommas(std::string_view(target).substr(
                                            open + 1, target.size() - open - 2))});
    }
  }
  insert.readings.push_back({CleanTable(target), std::nullopt});
  if (insert.readings.back().table.empty()) return Syntax("INSERT INTO needs a file name");
  return SqlStatement{std::move(insert)};
}

std::variant<SqlStatement, SqlError> ParseSelect(std::string_view rest) {
  std::string text = Trim(rest);
  SelectStatement select;
  // Every FROM between blanks (or after * or a closing quote) may end the column list.
  for (size_t at = 0; at + 4 <= text.size(); ++at) {
    if (!SameWord(std::string_view(text).substr(at, 4), "FROM")) continue;
    bool before = at > 0 && (IsBlank(text[at - 1]) || text[at - 1] == '*' || text[at - 1] == '"' ||
                             text[at - 1] == ']' || text[at - 1] == '`');
    bool after = at + 4 < text.size() && (IsBlank(text[at + 4]) || text[at + 4] == '"' ||
                                          text[at + 4] == '[' || text[at + 4] == '`');
    if (!before || !after) continue;
    std::string list = Trim(std::string_view(text).substr(0, at));
    std::string table = CleanTable(std::string_view(text).substr(at + 4));
    if (list.empty() || table.empty()) continue;
    if (list == "*") {
      select.readings.push_back({table, std::nullopt});
    } else {
      select.readings.push_back({table, SplitAtCommas(list)});
    }
  }
  if (select.readings.empty()) {
    return Syntax("SELECT needs * or column names, FROM and a file name");
  }
  return SqlStatement{std::move(select)};
}

}  // namespace

std::variant<SqlStatement, SqlError> ParseSql(const std::string& sql) {
  std::string text = Trim(sql);
  while (!text.empty() && text.back() == ';') text = Trim(text.substr(0, text.size() - 1));
  std::string_view rest = text;
  if (TakeWord(rest, "CREATE")) {
    if (!TakeWord(rest, "TABLE")) return Syntax("only CREATE TABLE is supported");
    return ParseCreate(rest);
  }
  if (TakeWord(rest, "DROP")) {
    if (!TakeWord(rest, "TABLE")) return Syntax("only DROP TABLE is supported");
    std::string table = CleanTable(rest);
    if (table.empty()) return Syntax("DROP TABLE needs a file name");
    return SqlStatement{DropTableStatement{table}};
  }
  if (TakeWord(rest, "INSERT")) return ParseInsert(rest);
  if (TakeWord(rest, "SELECT")) return ParseSelect(rest);
  return Syntax("the text driver knows CREATE TABLE, DROP TABLE, INSERT INTO and SELECT; got \"" +
                text.substr(0, 40) + "\"");
}

int CountParameters(const SqlStatement& statement) {
  if (auto insert = std::get_if<InsertStatement>(&statement)) {
    int count = 0;
    for (const SqlValue& v : insert->values) count += v.kind == SqlValue::Parameter ? 1 : 0;
    return count;
  }
  return 0;
}

std::variant<std::vector<size_t>, SqlError> ResolveColumns(const NameList& pieces,
                                                           const std::vector<std::string>& header) {
  auto find = [&](const std::string& name) -> std::optional<size_t> {
    for (size_t i = 0; i < header.size(); ++i) {
      if (SameWord(Trim(header[i]), name)) return i;
    }
    return std::nullopt;
  };
  // Shortest joins first: reach[i] says how to cover pieces[i..], found from the back.
  const size_t n = pieces.size();
  std::vector<std::optional<std::pair<size_t, size_t>>> reach(n + 1);  // (pieces taken, column)
  std::vector<bool> ok(n + 1, false);
  ok[n] = true;
  for (size_t i = n; i-- > 0;) {
    std::string joined;
    for (size_t j = i; j < n; ++j) {
      if (j > i) joined += ',';
      joined += pieces[j];
      if (!ok[j + 1]) continue;
      if (auto column = find(Unquote(Trim(joined)))) {
        reach[i] = std::make_pair(j + 1 - i, *column);
        ok[i] = true;
        break;
      }
    }
  }
  if (!ok[0]) {
    // Name the first piece that is no column on its own (one always exists when no joining
    // covers the list).
    for (const std::string& piece : pieces) {
      std::string name = Unquote(Trim(piece));
      if (name.empty()) return Syntax("an empty column name in a column list");
      if (!find(name)) return SqlError{"42S22", "Column \"" + name + "\" not found"};
    }
    return SqlError{"42S22", "Column list does not match the columns of the table"};
  }
  std::vector<size_t> columns;
  for (size_t i = 0; i < n; i += reach[i]->first) columns.push_back(reach[i]->second);
  return columns;
}
