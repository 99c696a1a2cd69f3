// From a measurement or waveform answer to the texts and pictures the operator sees.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "live/LiveAnswers.h"
#include "live/LiveSpectrum.h"
#include "live/LiveTable.h"
#include "live/LiveWaveform.h"

namespace pq::live {
namespace {

using test::measurementAnswerWith;

LiveMeasurement decode(const std::map<int, float>& values, std::uint8_t wiring) {
  const auto answer = measurementAnswerWith(values, wiring);
  return decodeMeasurement(
      std::span<const std::uint8_t, kMeasurementAnswerSize>(answer.data(), answer.size()));
}

LiveTable filled(const LiveMeasurement& m, LiveDataMode mode) {
  LiveTable table;
  table.fill(m, mode);
  return table;
}

TEST(LiveDecodingTest, HeadingsEmptyEveryValueCell) {
  LiveTable table;
  table.fill(decode({{values::uaRms, 57.7f}}, 1), LiveDataMode::secondary);
  table.writeHeadings();
  EXPECT_EQ(table.text(0, 0), " 数据名称");
  EXPECT_EQ(table.text(0, 3), "       Ua ");
  EXPECT_EQ(table.text(0, 8), "       Ic ");
  EXPECT_EQ(table.text(5, 0), "备用 ");
  EXPECT_EQ(table.text(48, 0), "电流不平衡");
  EXPECT_EQ(table.text(49, 0), "");
  for (int row = 1; row < LiveTable::kRows; ++row) {
    for (int column = 1; column < LiveTable::kColumns; ++column) EXPECT_EQ(table.text(row, column), "");
  }
}

TEST(LiveDecodingTest, VoltagesByWiringMode) {
  const auto fourWire = filled(decode({{4, 57.7f}, {7, 57.7f}, {10, 57.7f}, {5, 58.0f}, {6, 57.0f}}, 1),
                               LiveDataMode::secondary);
  EXPECT_EQ(fourWire.text(1, 1), "三相四线");
  for (const int row : {6, 10, 14}) EXPECT_EQ(fourWire.text(row, 1), "57.700 V");
  for (const int row : {7, 11, 15}) EXPECT_EQ(fourWire.text(row, 1), "99.939 V");
  EXPECT_EQ(fourWire.text(8, 1), "58.00 V");
  EXPECT_EQ(fourWire.text(9, 1), "57.00 V");

  const auto threeWire = filled(decode({{4, 100.0f}}, 3), LiveDataMode::secondary);
  EXPECT_EQ(threeWire.text(1, 1), "三相三线");
  EXPECT_EQ(threeWire.text(6, 1), "57.737 V");
  EXPECT_EQ(threeWire.text(7, 1), "100.000 V");
}

TEST(LiveDecodingTest, PrimaryValuesScaleByTheAnswersRatios) {
  const auto m = decode({{0, 100.0f},
                         {1, 20.0f},
                         {4, 57.7f},
                         {13, 1.5f},
                         {16, 300.0f},
                         {17, 100.0f},
                         {35, 10.0f},
                         {38, 0.98766f},
                         {26, 50.01f},
                         {30, 1.234f}},
                        1);
  const auto primary = filled(m, LiveDataMode::primary);
  EXPECT_EQ(primary.text(2, 1), "100.000");
  EXPECT_EQ(primary.text(3, 1), "20.000");
  EXPECT_EQ(primary.text(6, 1), "5.770 kV");
  EXPECT_EQ(primary.text(18, 1), "30.0 A");
  EXPECT_EQ(primary.text(21, 1), "600.0kW");
  EXPECT_EQ(primary.text(24, 1), "800.0kW");
  EXPECT_EQ(primary.text(25, 1), "20.0kVar");
  EXPECT_EQ(primary.text(29, 1), "0.9877 ");
  EXPECT_EQ(primary.text(40, 1), "50.0100 Hz");
  EXPECT_EQ(primary.text(44, 1), "01.23% ");
  const auto secondary = filled(m, LiveDataMode::secondary);
  EXPECT_EQ(secondary.text(18, 1), "1.500 A");
  EXPECT_EQ(secondary.text(24, 1), "400.00 W");
  EXPECT_EQ(secondary.text(28, 1), "10.00 Var");
  EXPECT_EQ(secondary.text(4, 1), "");
}

TEST(LiveDecodingTest, HarmonicColumns) {
  std::map<int, float> v{{values::harmonic(0, 0), 57.7f},   {values::harmonic(1, 0), 57.7f},
                         {values::harmonic(0, 2), 2.886f},  {values::thd(0), 5.0f},
                         {values::harmonic(3, 0), 1.5f},    {values::harmonic(3, 4), 0.15f},
                         {values::harmonic(4, 0), 0.0029f}, {values::harmonic(4, 1), 0.001f}};
  const auto m = decode(v, 1);
  EXPECT_DOUBLE_EQ(m.percent[0][0], 100.0);
  const auto table = filled(m, LiveDataMode::secondary);
  EXPECT_EQ(table.text(1, 2), "总畸变率");
  EXPECT_EQ(table.text(3, 2), "2次谐波");
  EXPECT_EQ(table.text(65, 2), "64次谐波");
  EXPECT_EQ(table.text(1, 3), "    05.00% ");
  EXPECT_EQ(table.text(2, 3), "057.70V(099.94V)");
  EXPECT_EQ(table.text(4, 3), " 002.89V    05.00% ");
  EXPECT_EQ(table.text(2, 6), "    01.50 A  ");
  EXPECT_EQ(table.text(6, 6), " 00.150A    10.00% ");
  // A fundamental of 0.003 or less gives no percentages.
  EXPECT_EQ(table.text(3, 7), " 00.001A    00.00% ");

  const auto threeWirePrimary =
      filled(decode({{0, 100.0f}, {values::harmonic(0, 0), 100.0f}}, 3), LiveDataMode::primary);
  EXPECT_EQ(threeWirePrimary.text(2, 3), "05.774kV(10.000kV)");
  EXPECT_EQ(thdBoxText(m, 0), " 05.00% ");
}

TEST(LiveDecodingTest, AnUnknownWiringModeKeepsTheVoltageTexts) {
  LiveTable table;
  table.fill(decode({{4, 57.7f}, {7, 57.7f}, {10, 57.7f}, {values::harmonic(0, 0), 57.7f}, {13, 1.0f}}, 1),
             LiveDataMode::secondary);
  table.fill(decode({{4, 10.0f}, {values::harmonic(0, 0), 10.0f}, {13, 2.0f}}, 2), LiveDataMode::secondary);
  EXPECT_EQ(table.text(1, 1), "三相四线");
  EXPECT_EQ(table.text(6, 1), "57.700 V");
  EXPECT_EQ(table.text(7, 1), "99.939 V");
  EXPECT_EQ(table.text(2, 3), "057.70V(057.70V)");
  EXPECT_EQ(table.text(8, 1), "0.00 V") << "the maximum is refreshed";
  EXPECT_EQ(table.text(18, 1), "2.000 A");
}

TEST(LiveDecodingTest, SpecialFloatsReadAsZeroAndHugeOnesStayFinite) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float huge = std::numeric_limits<float>::max();
  const auto m = decode({{4, nan},
                         {7, inf},
                         {10, -inf},
                         {13, 1e-40f},
                         {values::harmonic(3, 0), 0.004f},
                         {values::harmonic(3, 1), huge},
                         {0, huge},
                         {1, huge},
                         {16, huge},
                         {17, huge}},
                        1);
  EXPECT_EQ(m.value(4), 0.0f);
  EXPECT_EQ(m.value(7), 0.0f);
  EXPECT_EQ(m.value(13), 0.0f);
  EXPECT_TRUE(std::isfinite(m.percent[3][1]));
  const auto table = filled(m, LiveDataMode::primary);
  for (int row = 0; row < LiveTable::kRows; ++row) {
    for (int column = 0; column < LiveTable::kColumns; ++column) {
      EXPECT_EQ(table.text(row, column).find("INF"), std::string::npos) << row << "," << column;
      EXPECT_EQ(table.text(row, column).find("NAN"), std::string::npos) << row << "," << column;
    }
  }
}

TEST(LiveDecodingTest, WaveformAxisAndSamples) {
  const auto answer = test::waveformAnswerWith({{0, 328 * 61 + 131}, {1, -(328 * 61 + 131)}, {480, 328}});
  const LiveSamples samples =
      decodeWaveform(std::span<const std::uint8_t, kWaveformAnswerSize>(answer.data(), answer.size()));
  EXPECT_EQ(samples[480], 1.0f);
  const WaveformAxis axis = waveformAxis(samples);
  EXPECT_EQ(axis.maximum, 64.0);
  EXPECT_EQ(axis.minimum, -64.0);
  const WaveformAxis flat = waveformAxis(LiveSamples{});
  EXPECT_EQ(flat.minimum, -3.0);
  EXPECT_EQ(flat.maximum, 3.0);
}

TEST(LiveDecodingTest, SpectrumAxisFollowsTheHarmonicsAfterTheLastResetAndTitleCarriesTheThd) {
  struct Case {
    std::map<int, float> harmonics;  // k -> amplitude over a fundamental of 100
    double maximum;
  };
  const Case cases[] = {
      {{{1, 4.9f}, {20, 3.0f}}, 5.0},
      {{{1, 12.0f}}, 50.0},
      {{{1, 6.0f}}, 10.0},
      {{{1, 60.0f}}, 100.0},
      // 99.5 % starts afresh like the fundamental: only what follows it counts.
      {{{1, 40.0f}, {5, 99.5f}, {6, 3.0f}}, 5.0},
  };
  for (const Case& c : cases) {
    std::map<int, float> v{{values::harmonic(2, 0), 100.0f}, {values::thd(2), 12.345f}};
    for (const auto& [k, amplitude] : c.harmonics) v[values::harmonic(2, k)] = amplitude;
    const auto m = decode(v, 1);
    EXPECT_EQ(liveSpectrumAxisMaximum(m, 2), c.maximum);
    EXPECT_EQ(liveSpectrumTitle(m, 2), "Uc  频谱分析       THD_Uc=12.35% ");
  }
}

}  // namespace
}  // namespace pq::live
