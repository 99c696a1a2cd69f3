#pragma once

#include <array>
#include <string>

#include "live/LiveMeasurement.h"

namespace pq::live {

// The live spectrum charts' titles before the first drawing.
inline constexpr std::array<const char*, kChannelCount> kSpectrumDesignTitles{
    " Ua 频谱分析", " Ub  频谱分析", " Uc  频谱分析", "Ia   频谱分析", " Ib  频谱分析", " Ic  频谱分析"};
// The left axis maximum before the first drawing.
inline constexpr double kSpectrumDesignAxisMaximum = 20.0;

// The title of channel ch's chart with its total harmonic distortion.
std::string liveSpectrumTitle(const LiveMeasurement& m, int ch);

// The left axis maximum of channel ch's chart: 100, 50, 10 or 5 by the largest percentage, where a
// percentage above 99 (the fundamental's 100 among them) starts the search afresh.
double liveSpectrumAxisMaximum(const LiveMeasurement& m, int ch);

}  // namespace pq::live
