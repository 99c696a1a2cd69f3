#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace pq {
class RecordStore;
}

namespace pq::history {

inline constexpr int kSpectrumOrders = 64;

// The harmonic content of one channel in percent of its fundamental: orders 1..64 at [n - 1].
using SpectrumPercent = std::array<double, kSpectrumOrders>;

// What the history window's spectrum chart shows for one channel of one record: the bar heights, the
// fixed left axis maximum and the chart title. SpectrumChart::showSpectrum draws it; the live window
// uses spectrumAxisBand with its own scan and title.
struct SpectrumPicture {
  // Height of order n at [n - 1]. A value that is no finite number (a damaged record) is drawn as no
  // bar and takes no part in the axis rule, so the chart never scales to infinity.
  SpectrumPercent bars{};
  double axisMaximum = 5;
  std::string title;
};

// The bar heights drawn for these percentages: a value that is no finite number becomes 0.
SpectrumPercent drawableBars(std::span<const double, kSpectrumOrders> percent);

// The left axis maximum for the largest harmonic percentage found: 100 above 50, 50 above 10, 10
// above 5, otherwise 5.
double spectrumAxisBand(double largest);

// The picture of one channel: the axis from the largest of orders 2..64, and the title "<channel>各次谐波
// 频谱图   THD_<channel>=" followed by thd in "  0.00%".
SpectrumPicture spectrumPicture(std::string_view channelName,
                                std::span<const double, kSpectrumOrders> percent, double thd);

// harmonicPercent of orders 1..64 of one stored record's channel.
SpectrumPercent spectrumPercent(const RecordStore& store, int index, int channel);

}  // namespace pq::history
