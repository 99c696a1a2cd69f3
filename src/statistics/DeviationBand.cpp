#include "statistics/DeviationBand.h"

#include <cmath>

namespace pq {

DeviationBand::DeviationBand(float nominalVoltage) {
  const double un = nominalVoltage;
  if (un >= 35) {
    kind_ = Kind::Within5;
  } else if (un > 0.22 && un <= 10) {
    kind_ = Kind::Within7;
  } else if (un <= 0.22) {
    kind_ = Kind::PlusSevenMinusTen;
  } else {
    kind_ = Kind::None;
  }
}

const char* DeviationBand::text() const {
  switch (kind_) {
    case Kind::Within5:
      return "±5.00%";
    case Kind::Within7:
      return "±7.00%";
    case Kind::PlusSevenMinusTen:
      return "7%~-10%";
    case Kind::None:
      break;
  }
  return nullptr;
}

bool DeviationBand::passes(double difference, float percent) const {
  const double u = percent;
  switch (kind_) {
    case Kind::Within5:
      return std::fabs(u) <= 5;
    case Kind::Within7:
      return std::fabs(u) <= 7;
    case Kind::PlusSevenMinusTen:
      return (difference < 0 && std::fabs(u) <= 10) || (difference > 0 && u <= 7);
    case Kind::None:
      break;
  }
  return false;
}

}  // namespace pq
