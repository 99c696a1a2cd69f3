#include "export/TableFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace pq {

namespace {

bool endsWithXlsx(const std::string& path) {
  constexpr std::string_view kSuffix = ".xlsx";
  if (path.size() < kSuffix.size()) return false;
  return std::equal(kSuffix.begin(), kSuffix.end(), path.end() - static_cast<std::ptrdiff_t>(kSuffix.size()),
                    [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

TableFile::TableFile(std::string path) : path_(std::move(path)) {
  if (endsWithXlsx(path_)) workbook_.emplace(path_);
}

TableFile::~TableFile() = default;

bool TableFile::open() {
  if (workbook_) {
    if (workbook_->open()) return true;
    error_ = workbook_->error();
    return false;
  }
  csvFile_.emplace(path_);
  if (!csvFile_->open()) {
    error_ = csvFile_->error();
    csvFile_.reset();
    return false;
  }
  csvStream_.open(csvFile_->temporaryPath(), std::ios::binary | std::ios::trunc);
  if (!csvStream_) {
    error_ = "cannot write " + csvFile_->temporaryPath();
    csvFile_.reset();
    return false;
  }
  csv_ = std::make_unique<CsvWriter>(csvStream_, CsvWriter::ByteOrderMark::With);
  return true;
}

TableWriter& TableFile::table(std::string_view sheetName) {
  if (workbook_) return workbook_->addSheet(sheetName);
  if (!csv_) throw std::logic_error("TableFile::table before open");
  return *csv_;
}

bool TableFile::commit() {
  if (workbook_) {
    if (workbook_->commit()) return true;
    error_ = workbook_->error();
    return false;
  }
  if (!csv_ || !csvFile_) return false;
  const bool written = csv_->finish();
  csvStream_.close();
  if (!written || csvStream_.fail()) {
    error_ = std::strerror(errno);
    csvFile_.reset();
    return false;
  }
  if (!csvFile_->commit()) {
    error_ = csvFile_->error();
    return false;
  }
  return true;
}

}  // namespace pq
