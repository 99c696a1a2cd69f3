#pragma once

#include <string>

namespace pq {

struct PageFont {
  std::string family = "Arial";
  int points = 10;
  bool bold = false;
  bool operator==(const PageFont&) const = default;
};

}  // namespace pq
