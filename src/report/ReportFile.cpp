#include "report/ReportFile.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/AtomicFile.h"
#include "base/ByteWriter.h"

namespace pq {

namespace {

constexpr char kMagic[8] = {'P', 'Q', 'D', 'E', 'S', 'K', 'R', 'P'};
constexpr std::uint16_t kVersion = 1;
// Limits far above any real report that keep a damaged count from asking for gigabytes. Lines and
// texts are counted over the whole file: a page holds a few hundred, and each loaded item takes
// several times the bytes it was stored in.
constexpr std::uint32_t kMaxPages = 1000;
constexpr std::uint32_t kMaxItems = 100000;
constexpr std::uint32_t kMaxText = 65536;
constexpr std::size_t kMaxFileSize = 64u << 20;

std::uint32_t crc32(const unsigned char* data, std::size_t size) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

class Writer : public ByteWriter {
 public:
  void i32(int v) { u32(static_cast<std::uint32_t>(v)); }
  void text(const std::string& s) {
    if (s.size() > kMaxText) throw ReportFileError("报表文字过长，无法保存");
    u32(static_cast<std::uint32_t>(s.size()));
    data.insert(data.end(), s.begin(), s.end());
  }
};

class Reader {
 public:
  Reader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  unsigned u8() { return need(1), data_[at_++]; }
  unsigned u16() {
    const unsigned lo = u8();
    return lo | u8() << 8;
  }
  std::uint32_t u32() {
    const std::uint32_t lo = u16();
    return lo | static_cast<std::uint32_t>(u16()) << 16;
  }
  int i32() { return static_cast<int>(u32()); }
  std::uint32_t count(std::uint32_t limit) {
    const std::uint32_t n = u32();
    if (n > limit) damaged();
    return n;
  }
  std::string text() {
    const std::uint32_t n = count(kMaxText);
    need(n);
    std::string s(reinterpret_cast<const char*>(data_ + at_), n);
    at_ += n;
    return s;
  }
  bool atEnd() const { return at_ == size_; }
  [[noreturn]] static void damaged() { throw ReportFileError("报表文件已损坏，无法打开"); }

 private:
  void need(std::size_t n) const {
    if (size_ - at_ < n) damaged();
  }
  const unsigned char* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

}  // namespace

std::vector<unsigned char> encodeReportFile(const std::vector<ReportPage>& pages) {
  Writer w;
  w.data.insert(w.data.end(), std::begin(kMagic), std::end(kMagic));
  w.u16(kVersion);
  w.u32(static_cast<std::uint32_t>(pages.size()));
  for (const ReportPage& page : pages) {
    w.u32(ReportPage::kWidth);
    w.u32(ReportPage::kHeight);
    w.u32(static_cast<std::uint32_t>(page.lines().size()));
    for (const PageLine& line : page.lines()) {
      for (int v : {line.x1, line.y1, line.x2, line.y2}) w.i32(v);
    }
    w.u32(static_cast<std::uint32_t>(page.texts().size()));
    for (const PageText& t : page.texts()) {
      w.i32(t.x);
      w.i32(t.y);
      w.u8(static_cast<unsigned>(t.font.points));
      w.u8(t.font.bold ? 1 : 0);
      w.text(t.font.family);
      w.text(t.text);
    }
  }
  w.u32(crc32(w.data.data(), w.data.size()));
  return w.data;
}

std::vector<ReportPage> decodeReportFile(const std::vector<unsigned char>& bytes) {
  if (bytes.size() < sizeof kMagic + 2 || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
    throw ReportFileError("不是报表文件，无法打开");
  }
  if (bytes.size() < sizeof kMagic + 2 + 4 + 4) Reader::damaged();
  const std::size_t body = bytes.size() - 4;
  Reader crcReader(bytes.data() + body, 4);
  if (crcReader.u32() != crc32(bytes.data(), body)) Reader::damaged();

  Reader r(bytes.data() + sizeof kMagic, body - sizeof kMagic);
  if (r.u16() != kVersion) throw ReportFileError("报表文件的版本不受支持，无法打开");
  std::vector<ReportPage> pages(r.count(kMaxPages));
  std::uint32_t itemsLeft = kMaxItems;
  const auto items = [&] {
    const std::uint32_t n = r.count(itemsLeft);
    itemsLeft -= n;
    return n;
  };
  for (ReportPage& page : pages) {
    // Every page is A4 at 96 dpi; the size is kept for readers of other versions.
    if (r.u32() != ReportPage::kWidth || r.u32() != ReportPage::kHeight) Reader::damaged();
    for (std::uint32_t n = items(); n > 0; --n) {
      const int x1 = r.i32(), y1 = r.i32(), x2 = r.i32(), y2 = r.i32();
      page.addLine(x1, y1, x2, y2);
    }
    for (std::uint32_t n = items(); n > 0; --n) {
      const int x = r.i32(), y = r.i32();
      PageFont font;
      font.points = static_cast<int>(r.u8());
      font.bold = r.u8() != 0;
      font.family = r.text();
      page.addText(x, y, r.text(), font);
    }
  }
  if (!r.atEnd()) Reader::damaged();
  return pages;
}

void saveReportFile(const std::string& path, const std::vector<ReportPage>& pages) {
  const std::vector<unsigned char> bytes = encodeReportFile(pages);
  AtomicFile file(path);
  if (!(file.open() && file.write(bytes.data(), bytes.size()) && file.commit())) {
    throw ReportFileError("报表文件无法保存：" + file.error());
  }
}

std::vector<ReportPage> loadReportFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) throw ReportFileError("报表文件无法打开：" + path);
  const auto size = static_cast<std::size_t>(in.tellg());
  if (size > kMaxFileSize) throw ReportFileError("不是报表文件，无法打开");
  std::vector<unsigned char> bytes(size);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (!in) throw ReportFileError("报表文件无法读取：" + path);
  return decodeReportFile(bytes);
}

}  // namespace pq
