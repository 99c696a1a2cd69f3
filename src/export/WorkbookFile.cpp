#include "export/WorkbookFile.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <type_traits>
#include <utility>

#include "export/ValueText.h"

namespace pq {

namespace {

// Wide enough for "2024-03-05 12:34:56", which a narrower column shows as ####.
constexpr double kDateTimeColumnWidth = 19;

std::string systemReason() { return std::strerror(errno); }

}  // namespace

class WorkbookFile::Sheet : public TableWriter {
 public:
  Sheet(WorkbookFile& book, lxw_worksheet* sheet) : book_(book), sheet_(sheet) {}

  void heading(const std::vector<std::string>& names) override {
    if (!writable()) return;
    lxw_col_t column = 0;
    for (const std::string& name : names) {
      check(worksheet_write_string(sheet_, row_, column++, name.c_str(), book_.headingFormat_));
    }
    worksheet_freeze_panes(sheet_, row_ + 1, 0);
    ++row_;
  }

  void row(const TableRow& cells) override {
    if (!writable()) return;
    lxw_col_t column = 0;
    for (const TableCell& cell : cells) {
      std::visit([&](const auto& value) { write(column, value); }, cell);
      ++column;
    }
    ++row_;
    // A row goes to the temporary file when the next one starts; the library does not look at that
    // write's result, so its failure (a full disk) is caught here, with the system's reason still in
    // errno.
    if (sheet_->optimize_tmpfile != nullptr && std::ferror(sheet_->optimize_tmpfile) != 0) {
      book_.fail(systemReason());
    }
  }

 private:
  bool writable() const { return sheet_ != nullptr && book_.error_.empty(); }

  void check(lxw_error result) {
    if (result != LXW_NO_ERROR) book_.fail(lxw_strerror(result));
  }

  void write(lxw_col_t, std::monostate) {}
  void write(lxw_col_t column, long long value) {
    check(worksheet_write_number(sheet_, row_, column, static_cast<double>(value), nullptr));
  }
  void write(lxw_col_t column, float value) {
    if (std::isfinite(value)) {
      check(worksheet_write_number(sheet_, row_, column, floatAsShownDecimal(value), nullptr));
    } else {
      write(column, floatText(value));
    }
  }
  void write(lxw_col_t column, double value) {
    if (std::isfinite(value)) {
      check(worksheet_write_number(sheet_, row_, column, value, nullptr));
    } else {
      write(column, doubleText(value));
    }
  }
  void write(lxw_col_t column, const std::string& value) {
    check(worksheet_write_string(sheet_, row_, column, value.c_str(), nullptr));
  }
  void write(lxw_col_t column, const CalendarDateTime& value) {
    lxw_datetime time{value.year, value.month,  value.day,
                      value.hour, value.minute, static_cast<double>(value.second)};
    check(worksheet_write_datetime(sheet_, row_, column, &time, book_.dateTimeFormat_));
    if (widened_.size() <= column) widened_.resize(column + 1u);
    if (!widened_[column]) {
      check(worksheet_set_column(sheet_, column, column, kDateTimeColumnWidth, nullptr));
      widened_[column] = true;
    }
  }

  WorkbookFile& book_;
  lxw_worksheet* sheet_;
  lxw_row_t row_ = 0;
  std::vector<bool> widened_;  // by column: set to the width of a date-time
};

WorkbookFile::WorkbookFile(std::string path) : path_(std::move(path)) {}

// A workbook never committed is dropped unwritten, and file_ removes its temporary file; the
// library's own temporary files have no names and vanish when freed.
WorkbookFile::~WorkbookFile() {
  if (workbook_ != nullptr) lxw_workbook_free(workbook_);
}

void WorkbookFile::fail(std::string reason) {
  if (error_.empty()) error_ = std::move(reason);
}

bool WorkbookFile::open() {
  file_.emplace(path_);
  if (!file_->open()) {
    fail(file_->error());
    file_.reset();
    return false;
  }
  const std::string& temporary = file_->temporaryPath();
  temporaryFolder_ = temporary.substr(0, temporary.find_last_of('/'));
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = temporaryFolder_.data();
  workbook_ = workbook_new_opt(temporary.c_str(), &options);
  if (workbook_ == nullptr) {
    fail(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));
    file_.reset();
    return false;
  }
  headingFormat_ = workbook_add_format(workbook_);
  format_set_bold(headingFormat_);
  dateTimeFormat_ = workbook_add_format(workbook_);
  format_set_num_format(dateTimeFormat_, "yyyy-mm-dd hh:mm:ss");
  return true;
}

TableWriter& WorkbookFile::addSheet(std::string_view name) {
  lxw_worksheet* sheet = nullptr;
  if (workbook_ != nullptr) {
    const std::string text(name);
    const lxw_error verdict = workbook_validate_sheet_name(workbook_, text.c_str());
    if (verdict == LXW_NO_ERROR) {
      sheet = workbook_add_worksheet(workbook_, text.c_str());
    } else {
      fail(lxw_strerror(verdict));
    }
  } else {
    fail("the workbook is not open");
  }
  sheets_.push_back(std::make_unique<Sheet>(*this, sheet));
  return *sheets_.back();
}

bool WorkbookFile::commit() {
  if (workbook_ == nullptr) return false;
  lxw_workbook* workbook = std::exchange(workbook_, nullptr);
  if (!error_.empty()) {
    lxw_workbook_free(workbook);
    file_.reset();
    return false;
  }
  errno = 0;
  const lxw_error closed = workbook_close(workbook);
  if (closed != LXW_NO_ERROR) {
    fail(std::string(lxw_strerror(closed)) + (errno != 0 ? ": " + systemReason() : std::string()));
  }
  if (error_.empty() && !file_->commit()) fail(file_->error());
  file_.reset();
  return error_.empty();
}

}  // namespace pq
