#include "users/UserQuery.h"

#include <sqlite3.h>

#include <algorithm>

#include "users/UserDatabaseError.h"
#include "users/UserMessages.h"

namespace pq {

namespace {

std::string quotedIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  return quoted + "\"";
}

// Owns one prepared statement and turns every engine failure into a UserDatabaseError.
class Statement {
 public:
  Statement(sqlite3* connection, const std::string& text) : connection_(connection) {
    if (sqlite3_prepare_v2(connection, text.c_str(), static_cast<int>(text.size()), &statement_, nullptr) !=
        SQLITE_OK) {
      fail();
    }
    if (statement_ == nullptr) throw UserDatabaseError("SQL 语句为空。");
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt* get() const { return statement_; }

  void bind(int index, const std::optional<std::string>& value) {
    const int status = value ? sqlite3_bind_text(statement_, index, value->data(),
                                                 static_cast<int>(value->size()), SQLITE_TRANSIENT)
                             : sqlite3_bind_null(statement_, index);
    if (status != SQLITE_OK) fail();
  }

  // True while a row is available.
  bool step() {
    const int status = sqlite3_step(statement_);
    if (status == SQLITE_ROW) return true;
    if (status != SQLITE_DONE) fail();
    return false;
  }

 private:
  [[noreturn]] void fail() { throw UserDatabaseError(sqlite3_errmsg(connection_)); }

  sqlite3* connection_;
  sqlite3_stmt* statement_ = nullptr;
};

using Row = std::vector<std::optional<std::string>>;

void bindRow(Statement& statement, int firstIndex, const Row& row) {
  for (std::size_t i = 0; i < row.size(); ++i) statement.bind(firstIndex + static_cast<int>(i), row[i]);
}

}  // namespace

UserQuery::UserQuery(std::string table) : table_(std::move(table)) {}

void UserQuery::setConnection(sqlite3* connection) {
  close();
  connection_ = connection;
}

void UserQuery::close() {
  open_ = false;
  columns_.clear();
  rows_.clear();
  current_ = 0;
  state_ = State::Browse;
  pending_.clear();
}

void UserQuery::clearText() {
  lines_.clear();
  parameters_.clear();
}

void UserQuery::addLine(std::string_view line) { lines_.emplace_back(line); }

std::string UserQuery::text() const {
  std::string joined;
  for (const auto& line : lines_) joined += line + "\n";
  return joined;
}

void UserQuery::setParameter(std::string_view name, std::string_view value) {
  parameters_.insert_or_assign(std::string(name), std::string(value));
}

void UserQuery::open() {
  requireConnection();
  close();
  Statement statement(connection_, text());
  for (const auto& [name, value] : parameters_) {
    const int index = sqlite3_bind_parameter_index(statement.get(), (":" + name).c_str());
    if (index == 0) throw UserDatabaseError("参数 " + name + " 不存在。");
    statement.bind(index, value);
  }
  const int columnCount = sqlite3_column_count(statement.get());
  for (int i = 0; i < columnCount; ++i) columns_.emplace_back(sqlite3_column_name(statement.get(), i));
  while (statement.step()) {
    Row row;
    for (int i = 0; i < columnCount; ++i) {
      const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), i));
      if (value == nullptr) {
        row.emplace_back();
      } else {
        row.emplace_back(
            std::string(value, static_cast<std::size_t>(sqlite3_column_bytes(statement.get(), i))));
      }
    }
    rows_.push_back(std::move(row));
  }
  open_ = true;
}

int UserQuery::recordCount() const {
  requireOpen();
  return static_cast<int>(rows_.size());
}

void UserQuery::first() {
  requireOpen();
  current_ = 0;
}

void UserQuery::next() {
  requireOpen();
  if (current_ < rows_.size()) ++current_;
}

bool UserQuery::eof() const {
  requireOpen();
  return current_ >= rows_.size();
}

std::string UserQuery::fieldText(std::string_view column) const {
  const std::size_t index = columnIndex(column);
  if (state_ != State::Browse) return pending_[index].value_or("");
  requireCurrentRow();
  return rows_[current_][index].value_or("");
}

void UserQuery::append() {
  requireOpen();
  cancel();
  pending_.assign(columns_.size(), std::nullopt);
  state_ = State::Insert;
}

void UserQuery::edit() {
  requireCurrentRow();
  cancel();
  pending_ = rows_[current_];
  state_ = State::Edit;
}

void UserQuery::setField(std::string_view column, std::string_view value) {
  const std::size_t index = columnIndex(column);
  if (state_ == State::Browse) throw UserDatabaseError("数据集不在编辑或插入状态。");
  pending_[index] = std::string(value);
}

void UserQuery::post() {
  requireConnection();
  if (state_ == State::Insert) postInsert();
  if (state_ == State::Edit) postEdit();
  state_ = State::Browse;
  pending_.clear();
}

void UserQuery::cancel() {
  state_ = State::Browse;
  pending_.clear();
}

void UserQuery::deleteRow() {
  requireConnection();
  requireCurrentRow();
  cancel();
  Statement statement(connection_, "DELETE FROM " + quotedIdentifier(table_) + " WHERE " + rowCondition());
  bindRow(statement, 1, rows_[current_]);
  statement.step();
  if (sqlite3_changes(connection_) != 1) throw UserDatabaseError("该行已被修改或删除，无法删除。");
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(current_));
}

void UserQuery::requireConnection() const {
  if (connection_ == nullptr) throw UserDatabaseError(users::messages::kDatabaseNotOpen);
}

void UserQuery::requireOpen() const {
  requireConnection();
  if (!open_) throw UserDatabaseError("数据集未打开。");
}

void UserQuery::requireCurrentRow() const {
  requireOpen();
  if (current_ >= rows_.size()) throw UserDatabaseError("没有当前行。");
}

std::size_t UserQuery::columnIndex(std::string_view column) const {
  requireOpen();
  const auto found = std::find(columns_.begin(), columns_.end(), column);
  if (found == columns_.end()) throw UserDatabaseError("字段 " + std::string(column) + " 不存在。");
  return static_cast<std::size_t>(found - columns_.begin());
}

void UserQuery::postInsert() {
  std::string names;
  std::string marks;
  Row values;
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (!pending_[i]) continue;
    names += (names.empty() ? "" : ", ") + quotedIdentifier(columns_[i]);
    marks += marks.empty() ? "?" : ", ?";
    values.push_back(pending_[i]);
  }
  const std::string text =
      names.empty() ? "INSERT INTO " + quotedIdentifier(table_) + " DEFAULT VALUES"
                    : "INSERT INTO " + quotedIdentifier(table_) + " (" + names + ") VALUES (" + marks + ")";
  Statement statement(connection_, text);
  bindRow(statement, 1, values);
  statement.step();
  rows_.push_back(pending_);
  current_ = rows_.size() - 1;
}

void UserQuery::postEdit() {
  std::string assignments;
  for (const auto& column : columns_) {
    assignments += (assignments.empty() ? "" : ", ") + quotedIdentifier(column) + " = ?";
  }
  Statement statement(
      connection_, "UPDATE " + quotedIdentifier(table_) + " SET " + assignments + " WHERE " + rowCondition());
  bindRow(statement, 1, pending_);
  bindRow(statement, static_cast<int>(columns_.size()) + 1, rows_[current_]);
  statement.step();
  if (sqlite3_changes(connection_) != 1) throw UserDatabaseError("该行已被修改或删除，无法保存。");
  rows_[current_] = pending_;
}

// One row holding the given values; "IS" so that a NULL matches a NULL.
std::string UserQuery::rowCondition() const {
  std::string condition;
  for (const auto& column : columns_) {
    condition += (condition.empty() ? "" : " AND ") + quotedIdentifier(column) + " IS ?";
  }
  return "rowid = (SELECT rowid FROM " + quotedIdentifier(table_) + " WHERE " + condition + " LIMIT 1)";
}

}  // namespace pq
