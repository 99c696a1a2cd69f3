#include "export/TableFile.h"

#include <algorithm>
#include <cctype>
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

// The CSV's bytes straight into the temporary file, so that a failed write carries the system's reason.
class TableFile::AtomicFileBuffer : public std::streambuf {
 public:
  explicit AtomicFileBuffer(AtomicFile& file) : file_(file) {}

 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    return file_.write(data, static_cast<std::size_t>(size)) ? size : 0;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    return xsputn(&byte, 1) == 1 ? c : traits_type::eof();
  }

 private:
  AtomicFile& file_;
};

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
  csvBuffer_ = std::make_unique<AtomicFileBuffer>(*csvFile_);
  csvStream_ = std::make_unique<std::ostream>(csvBuffer_.get());
  csv_ = std::make_unique<CsvWriter>(*csvStream_, CsvWriter::ByteOrderMark::With);
  return true;
}

void TableFile::addNotes(const WorkbookNotes& notes) {
  if (workbook_) addNotesSheet(*workbook_, notes);
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
  if (!csv_->finish() || csvStream_->fail()) {
    error_ = csvFile_->error();
    // The writer first, which still hands its last bytes to the stream, the temporary file last.
    csv_.reset();
    csvStream_.reset();
    csvBuffer_.reset();
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
