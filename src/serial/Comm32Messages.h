#pragma once

#include <cstdint>
#include <string_view>

#include "base/AppLang.h"

namespace pq::OstrelComm32 {

// Error codes of the serial port.
namespace comm32Errors {
inline constexpr std::uint8_t outOfMemory = 1;
inline constexpr std::uint8_t readBuffer = 2;
inline constexpr std::uint8_t writeBuffer = 3;
inline constexpr std::uint8_t openPort = 4;
inline constexpr std::uint8_t setCommMask = 5;
inline constexpr std::uint8_t setupBuffers = 6;
inline constexpr std::uint8_t readParameters = 7;
inline constexpr std::uint8_t setParameters = 8;
inline constexpr std::uint8_t readEvents = 9;
inline constexpr std::uint8_t writeEvents = 10;
inline constexpr std::uint8_t startReadThread = 11;
inline constexpr std::uint8_t startWriteThread = 12;
inline constexpr std::uint8_t stopReadThread = 13;
inline constexpr std::uint8_t stopWriteThread = 14;
}  // namespace comm32Errors

// The UTF-8 text of an error code in a language (ltGbk simplified, ltBig5 traditional, anything else
// English); a code without a text of its own gives the "unknown error" text.
std::string_view comm32ErrorText(std::uint8_t code, TLangType language);

}  // namespace pq::OstrelComm32
