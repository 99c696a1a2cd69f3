#include "export/WorkbookFile.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

#include "export/ColumnWidth.h"
#include "export/ValueText.h"
#include "export/XmlText.h"

namespace pq {

namespace {

constexpr std::string_view kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelationshipTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kContentTypes = "application/vnd.openxmlformats-officedocument.spreadsheetml.";

// The tables' cell formats in every workbook's styles.xml.
constexpr std::string_view kHeadingStyle = "1";
constexpr std::string_view kDateTimeStyle = "2";
static_assert(WorkbookStyles::kHeading == 1 && WorkbookStyles::kDateTime == 2);

// The largest sheet's size, so that the held-back top of a sheet fits every size.
constexpr std::size_t kMostRows = 1048576;
constexpr std::size_t kMostColumns = 16384;
constexpr std::string_view kLargestDimension = "A1:XFD1048576";

constexpr std::size_t kLongestSheetName = 31;

// Days since 1899-12-30 and the day's fraction: the format's date-time from 1900-03-01 on.
double serialDateTime(const CalendarDateTime& t) {
  using namespace std::chrono;
  const sys_days date{year_month_day{year(t.year), month(static_cast<unsigned>(t.month)),
                                     day(static_cast<unsigned>(t.day))}};
  const auto days = (date - sys_days{year(1899) / December / 30}).count();
  return static_cast<double>(days) + (t.hour * 3600 + t.minute * 60 + t.second) / 86400.0;
}

std::string sheetNameFault(std::string_view name, const std::vector<std::string>& others) {
  std::size_t characters = 0;
  for (const char c : name) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (characters == 0 || characters > kLongestSheetName) {
    return "a sheet name has 1 to 31 characters: \"" + std::string(name) + "\"";
  }
  if (name.find_first_of("[]:*?/\\") != std::string_view::npos) {
    return "a sheet name has none of []:*?/\\: \"" + std::string(name) + "\"";
  }
  if (name.front() == '\'' || name.back() == '\'') {
    return "a sheet name neither starts nor ends with ': \"" + std::string(name) + "\"";
  }
  const auto folded = [](std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
  };
  for (const std::string& other : others) {
    if (folded(other) == folded(name)) return "two sheets named \"" + std::string(name) + "\"";
  }
  return {};
}

std::string sheetPartName(std::size_t index) { return "worksheets/sheet" + std::to_string(index + 1) + ".xml"; }

}  // namespace

// A sheet's XML as its rows come. The top of the sheet (its size) is held back in the archive until
// the end; the heading waits until the first row has shown which columns hold date-times, since the
// column widths come before all rows.
class WorkbookFile::Sheet : public TableWriter {
 public:
  Sheet(WorkbookFile& book, std::size_t index) : book_(book), index_(index) {
    top_ = std::string(kXmlDeclaration) + "<worksheet xmlns=\"" + std::string(kMainNamespace) + "\"><dimension ref=\"";
  }

  std::size_t index() const { return index_; }
  // The length of the sheet's top, whatever its size.
  std::size_t topLength() const { return top_.size() + kLargestDimension.size() + 3; }

  void numberFormats(const std::vector<std::string>& codes) override {
    if (!writable()) return;
    formats_ = codes;
    valueOpen_.clear();
    for (const std::string& code : codes) {
      const std::size_t style = book_.styles_.numberFormat(code);
      valueOpen_.push_back(style == WorkbookStyles::kPlain ? "<c><v>" : "<c s=\"" + std::to_string(style) + "\"><v>");
    }
  }

  void heading(const std::vector<std::string>& names) override {
    if (!writable()) return;
    names_ = names;
    heading_ = "<row r=\"1\">";
    for (const std::string& name : names) {
      heading_ += "<c t=\"inlineStr\" s=\"";
      heading_ += kHeadingStyle;
      heading_ += "\"><is><t xml:space=\"preserve\">";
      appendEscaped(heading_, name);
      heading_ += "</t></is></c>";
    }
    heading_ += "</row>";
    frozen_ = true;
    grow(names.size());
  }

  void row(const TableRow& cells) override {
    if (!writable()) return;
    if (!started_) start(&cells);
    grow(cells.size());
    if (!book_.error_.empty()) return;
    line_ = "<row r=\"";
    appendNumber(line_, rows_);
    line_ += "\">";
    for (column_ = 0; column_ < cells.size(); ++column_)
      std::visit([&](const auto& value) { append(value); }, cells[column_]);
    line_ += "</row>";
    book_.written(book_.archive_->write(line_));
  }

  // The rest of the sheet and its top.
  void end() {
    if (!started_) start(nullptr);
    book_.written(book_.archive_->write("</sheetData></worksheet>"));
    std::string top = top_;
    top += "A1";
    if (rows_ > 0) {
      top += ':';
      appendColumnName(top, std::max<std::size_t>(columns_, 1));
      appendNumber(top, rows_);
    }
    top += "\"/>";
    top.resize(topLength(), ' ');
    book_.written(book_.archive_->endEntry(top));
  }

 private:
  bool writable() {
    if (!book_.error_.empty()) return false;
    if (book_.open_ != this) book_.fail("the sheets are written one after the other");
    return book_.error_.empty();
  }

  // One row more, of `columns` cells: within the format's limits, or the workbook fails.
  void grow(std::size_t columns) {
    if (rows_ == kMostRows || columns > kMostColumns) {
      book_.fail("a sheet holds at most 1048576 rows of 16384 cells");
      return;
    }
    ++rows_;
    columns_ = std::max(columns_, columns);
  }

  void start(const TableRow* firstRow) {
    started_ = true;
    std::string xml;
    if (frozen_) {
      xml += "<sheetViews><sheetView workbookViewId=\"0\"><pane ySplit=\"1\" topLeftCell=\"A2\" "
             "activePane=\"bottomLeft\" state=\"frozen\"/><selection pane=\"bottomLeft\"/></sheetView></sheetViews>";
    }
    xml += columnsXml(firstRow);
    xml += "<sheetData>";
    xml += heading_;
    book_.written(book_.archive_->write(xml));
  }

  // The widths of the columns of the heading and the first row (ColumnWidth.h), neighbours of one
  // width in one element; nothing for a sheet without either.
  std::string columnsXml(const TableRow* firstRow) const {
    const std::size_t count = std::max(names_.size(), firstRow != nullptr ? firstRow->size() : 0);
    std::vector<double> widths(count);
    static const std::string kGeneral;
    for (std::size_t i = 0; i < count; ++i) {
      const std::string_view name = i < names_.size() ? std::string_view(names_[i]) : std::string_view();
      const TableCell first = firstRow != nullptr && i < firstRow->size() ? (*firstRow)[i] : TableCell();
      widths[i] = columnWidth(name, first, i < formats_.size() ? formats_[i] : kGeneral);
    }
    std::string xml;
    for (std::size_t i = 0; i < count;) {
      std::size_t last = i;
      while (last + 1 < count && widths[last + 1] == widths[i]) ++last;
      xml += "<col min=\"";
      appendNumber(xml, i + 1);
      xml += "\" max=\"";
      appendNumber(xml, last + 1);
      xml += "\" width=\"";
      appendNumber(xml, widths[i]);
      xml += "\" customWidth=\"1\"/>";
      i = last + 1;
    }
    return xml.empty() ? xml : "<cols>" + xml + "</cols>";
  }

  // The shortest text that reads back to the same value: for a float the CSV's text (floatText),
  // written in place rather than through a string of its own.
  // The cell is put together on the stack and appended once: a day's sheet has 37 million of them.
  // A float or double takes its column's number format; a whole number, a count or an index, stays General.
  template <typename Number>
  void appendValue(Number value, std::string_view open = kPlainOpen) {
    static constexpr std::string_view kClose = "</v></c>";
    char cell[64];
    char* end = std::copy(open.begin(), open.end(), cell);
    end = std::to_chars(end, cell + sizeof cell - kClose.size(), value).ptr;
    end = std::copy(kClose.begin(), kClose.end(), end);
    line_.append(cell, end);
  }
  // No value: a cell without one, which keeps the place of the cells after it (they carry no
  // references of their own).
  void append(std::monostate) { line_ += "<c/>"; }
  void append(long long value) { appendValue(value); }
  void append(float value) {
    if (!std::isfinite(value)) return append(floatText(value));
    appendValue(value, formattedOpen());
  }
  void append(double value) {
    if (!std::isfinite(value)) return append(doubleText(value));
    appendValue(value, formattedOpen());
  }
  std::string_view formattedOpen() const {
    return column_ < valueOpen_.size() ? std::string_view(valueOpen_[column_]) : kPlainOpen;
  }
  void append(const std::string& value) {
    line_ += "<c t=\"inlineStr\"><is><t xml:space=\"preserve\">";
    appendEscaped(line_, value);
    line_ += "</t></is></c>";
  }
  void append(const CalendarDateTime& value) {
    line_ += "<c s=\"";
    line_ += kDateTimeStyle;
    line_ += "\"><v>";
    appendNumber(line_, serialDateTime(value));
    line_ += "</v></c>";
  }

  WorkbookFile& book_;
  std::size_t index_;
  std::string top_;      // up to the size, which only the end knows
  std::string heading_;  // the heading row's XML until the sheet's data start
  std::string line_;     // a row's XML, its capacity kept from row to row
  std::vector<std::string> names_;      // the heading
  std::vector<std::string> formats_;    // the number format of each column
  std::vector<std::string> valueOpen_;  // the opening of a number cell of each column, with its format
  std::size_t column_ = 0;              // of the cell being appended
  static constexpr std::string_view kPlainOpen = "<c><v>";
  bool frozen_ = false;
  bool started_ = false;
  std::size_t rows_ = 0;
  std::size_t columns_ = 0;
};

WorkbookFile::WorkbookFile(std::string path, WorkbookStyles styles)
    : path_(std::move(path)), styles_(std::move(styles)) {}

// A workbook never committed is dropped unwritten: file_ removes its temporary file.
WorkbookFile::~WorkbookFile() = default;

void WorkbookFile::fail(std::string reason) {
  if (error_.empty()) error_ = std::move(reason);
}

bool WorkbookFile::written(bool ok) {
  if (!ok) fail(file_->error());
  return ok;
}

bool WorkbookFile::open() {
  file_.emplace(path_);
  if (!file_->open()) {
    fail(file_->error());
    file_.reset();
    return false;
  }
  archive_.emplace(*file_);
  return true;
}

bool WorkbookFile::startSheet(std::string_view name) {
  if (!archive_) fail("the workbook is not open");
  const std::string fault = sheetNameFault(name, sheetNames_);
  if (!fault.empty()) fail(fault);
  if (open_ != nullptr && error_.empty()) endSheet();
  open_ = nullptr;
  return error_.empty();
}

TableWriter& WorkbookFile::addSheet(std::string_view name) {
  const bool started = startSheet(name);
  sheets_.push_back(std::make_unique<Sheet>(*this, sheetNames_.size()));
  sheetNames_.emplace_back(name);
  if (started) {
    open_ = sheets_.back().get();
    written(archive_->beginEntry("xl/" + sheetPartName(open_->index()), open_->topLength()));
  }
  return *sheets_.back();
}

void WorkbookFile::addSheet(std::string_view name, const SheetLayout& sheet) {
  const bool started = startSheet(name);
  const std::string part = "xl/" + sheetPartName(sheetNames_.size());
  sheetNames_.emplace_back(name);
  if (started) {
    writePart(part, "<worksheet xmlns=\"" + std::string(kMainNamespace) + "\">" + sheetXml(sheet) + "</worksheet>");
  }
}

void WorkbookFile::endSheet() {
  open_->end();
  open_ = nullptr;
}

void WorkbookFile::writePart(const std::string& name, std::string_view content) {
  if (!error_.empty()) return;
  written(archive_->beginEntry(name) && archive_->write(kXmlDeclaration) && archive_->write(content) &&
          archive_->endEntry());
}

bool WorkbookFile::commit() {
  if (!archive_) return false;
  if (open_ != nullptr && error_.empty()) endSheet();
  std::string workbook = "<workbook xmlns=\"" + std::string(kMainNamespace) + "\" xmlns:r=\"" +
                         std::string(kRelationshipTypes) + "\"><bookViews><workbookView/></bookViews><sheets>";
  std::string relationships =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  std::string types =
      "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
      "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
      "<Override PartName=\"/xl/workbook.xml\" ContentType=\"" + std::string(kContentTypes) + "sheet.main+xml\"/>"
      "<Override PartName=\"/xl/styles.xml\" ContentType=\"" + std::string(kContentTypes) + "styles+xml\"/>";
  for (std::size_t i = 0; i < sheetNames_.size(); ++i) {
    const std::string id = "rId" + std::to_string(i + 1);
    workbook += "<sheet name=\"";
    appendEscaped(workbook, sheetNames_[i]);
    workbook += "\" sheetId=\"" + std::to_string(i + 1) + "\" r:id=\"" + id + "\"/>";
    relationships += "<Relationship Id=\"" + id + "\" Type=\"" + std::string(kRelationshipTypes) +
                     "/worksheet\" Target=\"" + sheetPartName(i) + "\"/>";
    types += "<Override PartName=\"/xl/" + sheetPartName(i) + "\" ContentType=\"" + std::string(kContentTypes) +
             "worksheet+xml\"/>";
  }
  workbook += "</sheets></workbook>";
  relationships += "<Relationship Id=\"rId" + std::to_string(sheetNames_.size() + 1) + "\" Type=\"" +
                   std::string(kRelationshipTypes) + "/styles\" Target=\"styles.xml\"/></Relationships>";
  types += "</Types>";
  writePart("[Content_Types].xml", types);
  writePart("_rels/.rels", "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                           "<Relationship Id=\"rId1\" Type=\"" + std::string(kRelationshipTypes) +
                           "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
  writePart("xl/workbook.xml", workbook);
  writePart("xl/_rels/workbook.xml.rels", relationships);
  writePart("xl/styles.xml", "<styleSheet xmlns=\"" + std::string(kMainNamespace) + "\">" + styles_.xml() +
                                 "</styleSheet>");
  if (error_.empty()) written(archive_->finish());
  if (error_.empty() && !file_->commit()) fail(file_->error());
  archive_.reset();
  file_.reset();
  return error_.empty();
}

}  // namespace pq
