#include "base/TextCodec.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace pq {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`; on a byte that cannot be converted, appends `replacement`, skips one byte
  // and counts the failure.
  std::string convert(std::string_view in, std::string_view replacement, int* failures = nullptr) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(in.size() * 2 + 8);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, outPtr);
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
        // EILSEQ or EINVAL (a sequence cut by the end): replace one byte and go on.
        out.append(replacement);
        if (failures != nullptr) ++*failures;
        ++inPtr;
        --inLeft;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

 private:
  iconv_t handle_;
};

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
  thread_local Converter converter("UTF-8", "GBK");
  return converter.convert(gbk, "\xEF\xBF\xBD");
}

std::string utf8ToGbk(std::string_view utf8) {
  thread_local Converter converter("GBK", "UTF-8");
  // Character by character, so that one character GBK lacks gives one '?' whatever its length.
  std::string out;
  std::size_t start = 0;
  while (start < utf8.size()) {
    std::size_t end = start + 1;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
    int failures = 0;
    const std::string piece = converter.convert(utf8.substr(start, end - start), "", &failures);
    out += failures == 0 ? piece : std::string("?");
    start = end;
  }
  return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
  thread_local Converter converter("UTF-16LE", "UTF-8");
  const std::string bytes = converter.convert(utf8, "\xFD\xFF");
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  }
  return units;
}

std::string_view cutGbk(std::string_view gbk, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < gbk.size()) {
    const bool lead = static_cast<unsigned char>(gbk[end]) >= 0x81 && end + 1 < gbk.size();
    const std::size_t width = lead ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return gbk.substr(0, end);
}

}  // namespace pq
