#include "base/PictureFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace pq {

namespace {

struct PictureParts {
  std::string_view prefix;
  std::string_view suffix;
  int integerDigits = 0;
  int decimals = 0;
};

PictureParts splitPicture(std::string_view picture) {
  PictureParts parts;
  const auto first = picture.find_first_of("0.");
  if (first == std::string_view::npos) {
    parts.prefix = picture;
    return parts;
  }
  auto last = picture.find_last_of('0');
  if (last == std::string_view::npos || last < first) last = first;
  parts.prefix = picture.substr(0, first);
  parts.suffix = picture.substr(last + 1);
  bool afterPoint = false;
  for (auto c : picture.substr(first, last + 1 - first)) {
    if (c == '.') {
      afterPoint = true;
    } else if (c == '0') {
      (afterPoint ? parts.decimals : parts.integerDigits)++;
    }
  }
  return parts;
}

// Rounds the exact decimal expansion of |value| to `decimals`, halves away from zero.
std::string roundedMagnitude(double magnitude, int decimals) {
  // A double m * 2^(exponent - 53) has at most 53 - exponent fraction digits (1074 at the most), so
  // this many digits are its exact expansion and show whether it lies below, on or above a half.
  int exponent = 0;
  std::frexp(magnitude, &exponent);
  const int precision = std::max(decimals + 1, std::min(1100, 53 - exponent));
  std::array<char, 1500> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                    std::chars_format::fixed, precision);
  std::string exact(buffer.data(), result.ptr);
  const auto point = exact.find('.');
  std::string digits = exact.substr(0, point) + exact.substr(point + 1, decimals);
  const bool roundUp = exact[point + 1 + decimals] >= '5';
  if (roundUp) {
    int i = static_cast<int>(digits.size()) - 1;
    for (; i >= 0; --i) {
      if (digits[i] == '9') {
        digits[i] = '0';
      } else {
        ++digits[i];
        break;
      }
    }
    if (i < 0) digits.insert(digits.begin(), '1');
  }
  return digits;  // integer digits followed by exactly `decimals` fraction digits
}

}  // namespace

std::string formatPicture(double value, std::string_view picture) {
  const PictureParts parts = splitPicture(picture);
  std::string out(parts.prefix);
  if (std::isnan(value)) return out.append("NAN").append(parts.suffix);
  if (std::isinf(value)) return out.append(value < 0 ? "-INF" : "INF").append(parts.suffix);

  std::string digits = roundedMagnitude(std::fabs(value), parts.decimals);
  std::string integerPart = digits.substr(0, digits.size() - parts.decimals);
  const std::string fraction = digits.substr(digits.size() - parts.decimals);
  const auto leadingZeros = integerPart.find_first_not_of('0');
  integerPart.erase(0, leadingZeros == std::string::npos ? integerPart.size() : leadingZeros);
  if (static_cast<int>(integerPart.size()) < parts.integerDigits) {
    integerPart.insert(0, parts.integerDigits - integerPart.size(), '0');
  }

  if (value < 0) out += '-';
  out += integerPart;
  if (parts.decimals > 0) out.append(".").append(fraction);
  out += parts.suffix;
  return out;
}

}  // namespace pq
