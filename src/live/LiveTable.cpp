#include "live/LiveTable.h"

#include <cmath>

#include "base/PictureFormat.h"

namespace pq::live {

namespace {

constexpr std::array<const char*, LiveTable::kColumns> kColumnHeadings{
    " 数据名称",  "数值",       "谐波次数",   "       Ua ", "       Ub ",
    "       Uc ", "       Ia ", "       Ib ", "       Ic "};

constexpr std::array<const char*, 48> kRowNames{
    "接线方式",    "PT变比",      "CT变比",      "额定电压",   "备用 ",    "Ua相电压",  "Ua线电压",
    "Ua_max",      "Ua_min",      "Ub相电压",    "Ub线电压",   "Ub_max",   "Ub_min",    "Uc相电压",
    "Uc线电压",    "Uc_max",      "Uc_min",      "Ia有效值",   "Ib有效值", "Ic有效值",  "A相有功",
    "B相有功",     "C相有功",     "总有功",      "A相无功",    "B相无功",  "C相无功",   "总无功",
    "A相功率因数", "B相功率因数", "C相功率因数", "总功率因数", "UaUb夹角", "UaUc夹角",  "UaIa夹角",
    "UaIb夹角",    "UaIc夹角",    "UbIb夹角",    "UcIc夹角",   "频率",     "零序电压",  "正序电压",
    "负序电压",    "电压不平衡",  "零序电流",    "正序电流",   "负序电流", "电流不平衡"};

// Primary scaling: kV for voltages, A for currents, kW and kVar for powers.
struct Scale {
  double voltage = 1.0, current = 1.0, power = 1.0;
};

Scale scaleOf(const LiveMeasurement& m, bool primary) {
  if (!primary) return {};
  const double pt = m.ptRatio();
  const double ct = m.ctRatio();
  return {pt / 1000.0, ct, pt * ct / 1000.0};
}

}  // namespace

double lineVoltage(double x, double y) { return std::sqrt(x * x + y * y + x * y); }

void LiveTable::writeHeadings() {
  for (int column = 0; column < kColumns; ++column) {
    for (int row = 0; row < kRows; ++row) cell(row, column).clear();
    cell(0, column) = kColumnHeadings[static_cast<std::size_t>(column)];
  }
  for (int row = 1; row <= 48; ++row) cell(row, 0) = kRowNames[static_cast<std::size_t>(row - 1)];
}

void LiveTable::fill(const LiveMeasurement& m, LiveDataMode mode) {
  const bool primary = mode == LiveDataMode::primary;
  fillValueColumn(m, primary);
  cell(1, 2) = "总畸变率";
  cell(2, 2) = "基波幅值";
  for (int n = 2; n <= 64; ++n) cell(n + 1, 2) = std::to_string(n) + "次谐波";
  for (int ch = 0; ch < kChannelCount; ++ch) fillChannelColumn(m, primary, ch);
}

void LiveTable::fillValueColumn(const LiveMeasurement& m, bool primary) {
  const Scale s = scaleOf(m, primary);
  const auto v = [&m](int index) -> double { return m.value(index); };
  const char* voltage = primary ? "0.000 kV" : "0.000 V";
  const char* extremeVoltage = primary ? "0.000 kV" : "0.00 V";
  const char* current = primary ? "0.0 A" : "0.000 A";
  const char* activePower = primary ? "0.0kW" : "0.00 W";
  const char* reactivePower = primary ? "0.0kVar" : "0.00 Var";

  if (m.wiring == kFourWire) cell(1, 1) = "三相四线";
  if (m.wiring == kThreeWire) cell(1, 1) = "三相三线";
  cell(2, 1) = formatPicture(m.ptRatio(), "0.000");
  cell(3, 1) = formatPicture(m.ctRatio(), "0.000");
  cell(4, 1).clear();
  cell(5, 1).clear();
  for (int phase = 0; phase < 3; ++phase) {
    const int row = 6 + 4 * phase;
    const double rms = v(values::uaRms + 3 * phase);
    if (m.wiringKnown()) {
      const double next = v(values::uaRms + 3 * ((phase + 1) % 3));
      const bool fourWire = m.wiring == kFourWire;
      const double phaseVoltage = fourWire ? rms : kThreeWirePhaseFactor * rms;
      const double line = fourWire ? lineVoltage(rms, next) : rms;
      cell(row, 1) = formatPicture(phaseVoltage * s.voltage, voltage);
      cell(row + 1, 1) = formatPicture(line * s.voltage, voltage);
    }
    cell(row + 2, 1) = formatPicture(v(values::uaRms + 3 * phase + 1) * s.voltage, extremeVoltage);
    cell(row + 3, 1) = formatPicture(v(values::uaRms + 3 * phase + 2) * s.voltage, extremeVoltage);
  }
  double activeTotal = 0.0;
  double reactiveTotal = 0.0;
  for (int phase = 0; phase < 3; ++phase) {
    cell(18 + phase, 1) = formatPicture(v(values::iaRms + phase) * s.current, current);
    const double active = v(values::activePowerA + phase);
    const double reactive = v(values::reactivePowerA + phase);
    activeTotal += active;
    reactiveTotal += reactive;
    cell(21 + phase, 1) = formatPicture(active * s.power, activePower);
    cell(25 + phase, 1) = formatPicture(reactive * s.power, reactivePower);
  }
  cell(24, 1) = formatPicture(activeTotal * s.power, activePower);
  cell(28, 1) = formatPicture(reactiveTotal * s.power, reactivePower);
  for (int i = 0; i < 4; ++i) cell(29 + i, 1) = formatPicture(v(values::powerFactorA + i), "0.0000 ");
  for (int i = 0; i < 7; ++i) cell(33 + i, 1) = formatPicture(v(values::angleUaUb + i), "0.00 度");
  cell(40, 1) = formatPicture(v(values::frequency), "0.0000 Hz");
  for (int i = 0; i < 3; ++i) {
    cell(41 + i, 1) = formatPicture(v(values::zeroSequenceVoltage + i) * s.voltage, extremeVoltage);
    cell(45 + i, 1) = formatPicture(v(values::zeroSequenceCurrent + i) * s.current, current);
  }
  cell(44, 1) = formatPicture(v(values::voltageUnbalance), "00.00% ");
  cell(48, 1) = formatPicture(v(values::currentUnbalance), "00.00% ");
}

void LiveTable::fillChannelColumn(const LiveMeasurement& m, bool primary, int ch) {
  const int column = 3 + ch;
  const bool voltageChannel = ch < 3;
  const Scale s = scaleOf(m, primary);
  const double scale = voltageChannel ? s.voltage : s.current;
  const auto amplitude = [&m, ch](int k) -> double { return m.value(values::harmonic(ch, k)); };

  cell(1, column) = formatPicture(m.thd(ch), "    00.00% ");
  if (!voltageChannel) {
    cell(2, column) = formatPicture(amplitude(0) * scale, primary ? "    000.0 A  " : "    00.00 A  ");
  } else if (m.wiringKnown()) {
    const bool fourWire = m.wiring == kFourWire;
    const double own = amplitude(0);
    const double next = m.value(values::harmonic((ch + 1) % 3, 0));
    const double phase = fourWire ? own : kThreeWirePhaseFactor * own;
    const double line = fourWire ? lineVoltage(own, next) : own;
    const char* phasePattern = !primary ? "000.00V(" : fourWire ? "000.00kV(" : "00.000kV(";
    const char* linePattern = !primary ? "000.00V)" : fourWire ? "000.00kV)" : "00.000kV)";
    cell(2, column) = formatPicture(phase * scale, phasePattern) + formatPicture(line * scale, linePattern);
  }
  const char* amplitudePattern =
      voltageChannel ? (primary ? " 00.00kV " : " 000.00V  ") : (primary ? " 000.0A " : " 00.000A  ");
  const auto& percent = m.percent[static_cast<std::size_t>(ch)];
  for (int n = 2; n <= 64; ++n) {
    cell(n + 1, column) = formatPicture(amplitude(n - 1) * scale, amplitudePattern) +
                          formatPicture(percent[static_cast<std::size_t>(n - 1)], "  00.00% ");
  }
}

std::string thdBoxText(const LiveMeasurement& m, int ch) { return formatPicture(m.thd(ch), " 00.00% "); }

}  // namespace pq::live
