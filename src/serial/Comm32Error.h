#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pq::OstrelComm32 {

// A failure of the serial port, with its one-byte code. what() is the text of the application
// language (AppLang) in UTF-8; nativeText() is the same text in the language's own code page (GBK,
// BIG5 through TAppLang::FromGBK, or ASCII), as a dialog using AppLang's font and character set shows it.
class EComm32Error : public std::runtime_error {
 public:
  using TErrorCode = std::uint8_t;

  explicit EComm32Error(TErrorCode code);

  TErrorCode ErrorCode() const { return code_; }
  const std::string& nativeText() const { return nativeText_; }

 private:
  TErrorCode code_;
  std::string nativeText_;
};

}  // namespace pq::OstrelComm32
