#include "records/RecordFileGenerator.h"

#include <chrono>
#include <cmath>
#include <numbers>

#include "records/MeasurementRecord.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileWriter.h"

namespace pq {

namespace {

// SplitMix64: small, fast and the same on every platform, unlike the standard distributions.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  double uniform() {  // [0, 1)
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) * 0x1.0p-53;
  }
  double around(double centre, double spread) { return centre + spread * (2 * uniform() - 1); }

 private:
  std::uint64_t state_;
};

std::uint8_t bcd(int value) { return static_cast<std::uint8_t>((value / 10) << 4 | value % 10); }

// A slow swing of the given period (in records) and phase, between -1 and 1.
double wave(long long index, double period, double phase) {
  return std::sin(2 * std::numbers::pi * static_cast<double>(index) / period + phase);
}

// Harmonic content in percent of the fundamental, by order, before the slow swing.
double voltageContent(int order) {
  switch (order) {
    case 3:
      return 1.2;
    case 5:
      return 2.6;
    case 7:
      return 1.5;
    case 9:
      return 0.4;
    case 11:
      return 0.9;
    case 13:
      return 0.6;
    default:
      return order % 2 == 1 ? 2.0 / order : 0.4 / order;
  }
}

double currentContent(int order) {
  switch (order) {
    case 3:
      return 6.0;
    case 5:
      return 15.0;
    case 7:
      return 8.0;
    case 11:
      return 4.0;
    case 13:
      return 3.0;
    default:
      return order % 2 == 1 ? 12.0 / order : 1.5 / order;
  }
}

struct Phasor {
  double rms;
  double angle;  // degrees, against Ua
};

class RecordSynthesizer {
 public:
  RecordSynthesizer(const GeneratorOptions& options) : options_(options), random_(options.seed) {
    const int levelKv = recordfile::nominalVoltageOfLevel(options.voltageLevelCode);
    const double lineVolts = levelKv > 0 ? levelKv * 1000.0 : 380.0;
    const double ratio = options.ptRatio > 0 ? options.ptRatio : 1.0;
    phaseVolts_ = lineVolts / ratio / std::numbers::sqrt3;
  }

  void fill(long long index, std::chrono::sys_seconds time, MeasurementRecord& r) {
    r.cells.fill(0);
    const auto day = std::chrono::floor<std::chrono::days>(time);
    const std::chrono::year_month_day date(day);
    const std::chrono::hh_mm_ss clock(time - day);
    r.cells[cells::timeBcd + 0] = bcd(static_cast<int>(date.year()) % 100);
    r.cells[cells::timeBcd + 1] = bcd(static_cast<int>(static_cast<unsigned>(date.month())));
    r.cells[cells::timeBcd + 2] = bcd(static_cast<int>(static_cast<unsigned>(date.day())));
    r.cells[cells::timeBcd + 3] = bcd(static_cast<int>(clock.hours().count()));
    r.cells[cells::timeBcd + 4] = bcd(static_cast<int>(clock.minutes().count()));
    r.cells[cells::timeBcd + 5] = bcd(static_cast<int>(clock.seconds().count()));
    r.cells[cells::wiringMode] = static_cast<std::uint32_t>(options_.wiringMode);
    const std::uint8_t id[] = {0x20, 0x10, 0x04, 0x19};
    for (int i = 0; i < 4; ++i) r.cells[cells::instrumentId + i] = id[i];

    const double load = 0.55 + 0.35 * wave(index, 1440, 0.0) + random_.around(0, 0.03);
    const double unbalance = 1.0 + 0.6 * wave(index, 700, 1.0) + random_.around(0, 0.05);
    const double powerFactor = 0.90 + 0.05 * wave(index, 900, 2.0);
    const double phi = std::acos(powerFactor) * 180 / std::numbers::pi;
    const double nominalAmps = 5.0;

    Phasor u[3], i[3];
    for (int p = 0; p < 3; ++p) {
      const double skew = (p - 1) * unbalance / 100.0;
      u[p] = {phaseVolts_ * (1.0 + 0.02 * wave(index, 480, p) + skew + random_.around(0, 0.001)), -120.0 * p};
      i[p] = {nominalAmps * load * (1.0 + 2 * skew), -120.0 * p - phi};
    }
    const int uCells[3] = {cells::uaRms, cells::ubRms, cells::ucRms};
    for (int p = 0; p < 3; ++p) {
      setValue(r, uCells[p], u[p].rms);
      setValue(r, uCells[p] + 1, u[p].rms * 1.004);
      setValue(r, uCells[p] + 2, u[p].rms * 0.996);
      setValue(r, cells::iaRms + p, i[p].rms);
      const double apparent = u[p].rms * i[p].rms;
      setValue(r, cells::pA + p, apparent * powerFactor);
      setValue(r, cells::qA + p, apparent * std::sin(std::acos(powerFactor)));
      setValue(r, cells::pfA + p, powerFactor);
    }
    setValue(r, cells::pfTotal, powerFactor);
    setValue(r, cells::angleUaUb, 120.0);
    setValue(r, cells::angleUaUc, 240.0);
    setValue(r, cells::angleUaIa, phi);
    setValue(r, cells::angleUaIb, 120.0 + phi);
    setValue(r, cells::angleUaIc, 240.0 + phi);
    setValue(r, cells::angleUbIb, phi);
    setValue(r, cells::angleUcIc, phi);
    setValue(r, cells::frequency, 50.0 + 0.08 * wave(index, 300, 0.5) + random_.around(0, 0.01));
    const double uMean = (u[0].rms + u[1].rms + u[2].rms) / 3;
    const double iMean = (i[0].rms + i[1].rms + i[2].rms) / 3;
    setValue(r, cells::uZero, uMean * 0.002);
    setValue(r, cells::uPositive, uMean);
    setValue(r, cells::uNegative, uMean * unbalance / 100);
    setValue(r, cells::uUnbalance, unbalance);
    setValue(r, cells::iZero, iMean * 0.01);
    setValue(r, cells::iPositive, iMean);
    setValue(r, cells::iNegative, iMean * 2 * unbalance / 100);
    setValue(r, cells::iUnbalance, 2 * unbalance);

    for (int channel = 0; channel < kChannelCount; ++channel) {
      const bool voltage = isVoltageChannel(channel);
      const double fundamental = voltage ? u[channel].rms : i[channel - 3].rms;
      setValue(r, cells::harmonic(channel, 1), fundamental);
      for (int order = 2; order <= kHarmonicOrders; ++order) {
        const double content = voltage ? voltageContent(order) : currentContent(order);
        const double swing = 1.0 + 0.45 * wave(index, 360 + 17 * order, channel + order);
        setValue(r, cells::harmonic(channel, order),
                 fundamental * content / 100 * swing * random_.around(1, 0.05));
      }
    }
  }

 private:
  static void setValue(MeasurementRecord& r, int cell, double v) { r.setValue(cell, static_cast<float>(v)); }

  const GeneratorOptions& options_;
  Random random_;
  double phaseVolts_;
};

}  // namespace

bool generateRecordFile(const std::string& path, const GeneratorOptions& options, std::string& error) {
  using namespace std::chrono;
  const year_month_day startDate{year{options.startYear}, month{static_cast<unsigned>(options.startMonth)},
                                 day{static_cast<unsigned>(options.startDay)}};
  const sys_seconds start = sys_days(startDate) + hours(options.startHour) + minutes(options.startMinute) +
                            seconds(options.startSecond);

  RecordFileHead head;
  head.substationName = options.substationName;
  head.measuringPointName = options.measuringPointName;
  head.voltageLevelCode = options.voltageLevelCode;
  head.minShortCircuitCapacity = 100;
  head.supplyEquipmentCapacity = 120;
  head.agreedCapacity = 120;
  head.ptRatio = options.ptRatio;
  head.ctRatio = options.ctRatio;

  RecordFileWriter writer(path);
  RecordSynthesizer synthesizer(options);
  MeasurementRecord record;
  bool ok = writer.open(head);
  for (long long index = 0; ok && index < options.records; ++index) {
    synthesizer.fill(index, start + seconds(index * options.intervalSeconds), record);
    ok = writer.writeRecord(record, RecordScaling::identity());
  }
  ok = ok && writer.commit();
  if (!ok) error = writer.error();
  return ok;
}

}  // namespace pq
