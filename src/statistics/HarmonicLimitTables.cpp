#include "statistics/HarmonicLimitTables.h"

#include <cmath>

namespace pq {

namespace {

constexpr HarmonicVoltageLimits kVoltageLimits[kVoltageLevelCount] = {
    {4.0f, 2.0f, 5.0f}, {3.2f, 1.6f, 4.0f}, {3.2f, 1.6f, 4.0f},
    {2.4f, 1.2f, 3.0f}, {2.4f, 1.2f, 3.0f}, {1.6f, 0.8f, 2.0f},
};

constexpr float kBaseShortCircuitCapacity[kVoltageLevelCount] = {10, 100, 100, 250, 500, 750};

constexpr int kOrders = kLastLimitedOrder - kFirstLimitedOrder + 1;
constexpr float kTabledCurrent[kVoltageLevelCount][kOrders] = {
    {78, 62, 39,   62, 26,   44, 19,   21,   16,   28, 13,   24,
     11, 12, 9.7f, 18, 8.6f, 16, 7.8f, 8.9f, 7.1f, 14, 6.5f, 12},
    {43,   34,   21,   34, 14,   24,   11,   11,   8.5f, 16,   7.1f, 13,
     6.1f, 6.8f, 5.3f, 10, 4.7f, 9.0f, 4.3f, 4.9f, 3.9f, 7.4f, 3.6f, 6.8f},
    {26,   20,   13,   20,   8.5f, 15,   6.4f, 6.8f, 5.1f, 9.3f, 4.3f, 7.9f,
     3.7f, 4.1f, 3.2f, 6.0f, 2.8f, 5.4f, 2.6f, 2.9f, 2.3f, 4.5f, 2.1f, 4.1f},
    {15,   12,   7.7f, 12,   5.1f, 8.8f, 3.8f, 4.1f, 3.1f, 5.6f, 2.6f, 4.7f,
     2.2f, 2.5f, 1.9f, 3.6f, 1.7f, 3.2f, 1.5f, 1.8f, 1.4f, 2.7f, 1.3f, 2.5f},
    {16,   13,   8.1f, 13,   5.4f, 9.3f, 4.1f, 4.3f, 3.3f, 5.9f, 2.7f, 5.0f,
     2.3f, 2.6f, 2.0f, 3.8f, 1.8f, 3.4f, 1.6f, 1.9f, 1.5f, 2.8f, 1.4f, 2.6f},
    {12,   9.6f, 6.0f, 9.6f, 4.0f, 6.8f, 3.0f, 3.2f, 2.4f, 4.3f, 2.0f, 3.7f,
     1.7f, 1.9f, 1.5f, 2.8f, 1.3f, 2.5f, 1.2f, 1.4f, 1.1f, 2.1f, 1.0f, 1.9f},
};

}  // namespace

std::optional<int> voltageLevelOf(std::string_view text) {
  for (int level = 0; level < kVoltageLevelCount; ++level) {
    if (text == kVoltageLevelTexts[level]) return level;
  }
  return std::nullopt;
}

HarmonicVoltageLimits harmonicVoltageLimitsOf(int level) { return kVoltageLimits[level]; }

float baseShortCircuitCapacity(int level) { return kBaseShortCircuitCapacity[level]; }

float tabledHarmonicCurrent(int level, int order) {
  return kTabledCurrent[level][order - kFirstLimitedOrder];
}

double userHarmonicCurrent(double tabled, double baseCapacity, double minShortCircuit, double agreed,
                           double supply, double exponent) {
  return minShortCircuit / baseCapacity * tabled * std::pow(agreed / supply, 1.0 / exponent);
}

float superpositionExponent(int order) {
  switch (order) {
    case 3:
      return 1.1f;
    case 5:
      return 1.2f;
    case 7:
      return 1.4f;
    case 11:
    case 21:
      return 1.8f;
    case 13:
    case 23:
      return 1.9f;
    default:
      return 2.0f;
  }
}

}  // namespace pq
