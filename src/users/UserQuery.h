#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace pq {

// The one shared query object on the user table (DQ_Pass): statement text built line by line,
// named parameters always bound as text and never spliced into the text, and a static result set
// fetched completely on open, so the row count is exact. The current row can be edited or deleted,
// and new rows appended, through the same object; changes reach the table on post.
//
// A changed or deleted row is found in the table by the values it had when it was read, one row at
// most, as a client-side cursor does; the table has no key of its own.
//
// Every operation throws UserDatabaseError when the connection is not open or the engine refuses.
class UserQuery {
 public:
  // `table` is the table that appended, changed and deleted rows go to.
  explicit UserQuery(std::string table);
  UserQuery(const UserQuery&) = delete;
  UserQuery& operator=(const UserQuery&) = delete;

  // The connection the query runs on; nullptr while the database is not open.
  void setConnection(sqlite3* connection);

  void close();
  void clearText();
  void addLine(std::string_view line);
  std::string text() const;
  void setParameter(std::string_view name, std::string_view value);
  void open();

  bool isOpen() const { return open_; }
  int recordCount() const;
  void first();
  void next();
  bool eof() const;
  // The current row's column as text; a NULL reads as an empty text.
  std::string fieldText(std::string_view column) const;

  void append();
  void edit();
  void setField(std::string_view column, std::string_view value);
  void post();
  void cancel();
  void deleteRow();

 private:
  using Row = std::vector<std::optional<std::string>>;
  enum class State { Browse, Insert, Edit };

  void requireConnection() const;
  void requireOpen() const;
  void requireCurrentRow() const;
  std::size_t columnIndex(std::string_view column) const;
  void postInsert();
  void postEdit();
  std::string rowCondition() const;

  std::string table_;
  sqlite3* connection_ = nullptr;
  std::vector<std::string> lines_;
  std::map<std::string, std::string, std::less<>> parameters_;
  bool open_ = false;
  std::vector<std::string> columns_;
  std::vector<Row> rows_;
  std::size_t current_ = 0;
  State state_ = State::Browse;
  Row pending_;
};

}  // namespace pq
