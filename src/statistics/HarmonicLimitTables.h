#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace pq {

// The voltage levels of the harmonic limits, 0 = 0.38 kV .. 5 = 110 kV, and the texts that name them.
inline constexpr int kVoltageLevelCount = 6;
inline constexpr std::string_view kVoltageLevelTexts[kVoltageLevelCount] = {"0.38KV", "6KV",  "10KV",
                                                                            "35KV",   "66KV", "110KV"};
inline constexpr int kFirstLimitedOrder = 2;
inline constexpr int kLastLimitedOrder = 25;

// The level named by `text` (exact, case-sensitive), or none.
std::optional<int> voltageLevelOf(std::string_view text);

// The text of a record head's level code 1..6 ("35KV" for 4); empty for a code the program does not know.
inline std::string_view voltageLevelTextOfCode(int code) {
  return code >= 1 && code <= kVoltageLevelCount ? kVoltageLevelTexts[code - 1] : std::string_view{};
}

// GB/T 14549-1993, Table 1: permitted harmonic voltage content of a level, % of the fundamental.
struct HarmonicVoltageLimits {
  float odd;
  float even;
  float thd;
};
HarmonicVoltageLimits harmonicVoltageLimitsOf(int level);

// GB/T 14549-1993, Table 2: the base short-circuit capacity of a level (MVA) and the permitted
// harmonic current of order 2..25 at that capacity (A).
float baseShortCircuitCapacity(int level);
float tabledHarmonicCurrent(int level, int order);

// A tabled current (A at the base capacity `baseCapacity`) converted to the minimum short-circuit
// capacity and to the user's share of the supply equipment capacity, I × Sk / Sb × (Si / St)^(1/α);
// capacities in MVA.
double userHarmonicCurrent(double tabled, double baseCapacity, double minShortCircuit, double agreed,
                           double supply, double exponent);

// The superposition exponent of a harmonic order 2..25 in the instrument's own report, after
// GB/T 14549-1993 Appendix C except that orders 21 and 23 take the exponents of 11 and 13: the report
// must show the limits the instrument's own program shows, so it keeps them.
float superpositionExponent(int order);

// Superposition exponents α by harmonic order 2..25 (the index; 0 and 1 unused).
using SuperpositionExponents = std::array<double, kLastLimitedOrder + 1>;

// GB/T 14549-1993 Appendix C as it stands: 1.1, 1.2, 1.4, 1.8 and 1.9 for orders 3, 5, 7, 11 and 13,
// 2 for every other order, 21 and 23 among them.
inline constexpr SuperpositionExponents kAppendixCExponents = {
    0, 0, 2, 1.1, 2, 1.2, 2, 1.4, 2, 2, 2, 1.8, 2, 1.9, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2};

}  // namespace pq
