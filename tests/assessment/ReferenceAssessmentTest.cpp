#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "assessment/reference/ReferenceAssessment.h"
#include "cli/CliRunner.h"
#include "records/RecordFileWriter.h"
#include "records/RecordStore.h"
#include "support/StoreBuilder.h"
#include "support/TempDir.h"

namespace pq {
namespace {

using nlohmann::json;
using reference::epochOf;
using reference::timeText;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// What one generated record holds, in fractions of the declared voltage where it is a voltage; the
// generator turns it into cells with each phase's own non-round offsets.
struct Shape {
  std::array<double, 3> min{0.9969, 0.9958, 0.9947};  // of the phase's own level
  std::array<double, 3> max{1.0031, 1.0042, 1.0053};
  std::array<double, 3> level{1.0231, 0.9827, 1.0412};
  std::array<double, 3> minAbsolute{kNaN, kNaN, kNaN};  // of D, when set, instead of min x level
  std::array<double, 3> maxAbsolute{kNaN, kNaN, kNaN};
  double frequency = kNaN;  // Hz; NaN: a random one near 50 Hz
  bool frequencyCell = false;  // `frequency` is written even when no number
  double activeWatts = kNaN;  // total; NaN: random
  double reactiveSign = 1;
  // Cells written as not-a-number or infinity: the import reads such patterns as 0, so what reaches
  // the assessment is a 0 Hz frequency, a 0 V voltage, a 0 W power.
  bool invalidPower = false;
  bool invalidVoltage = false;
};

struct Head {
  int levelCode = 3;
  int wiringMode = 1;
  double declared = 10000 / std::sqrt(3.0);  // in the cells' volts
};

// Deterministic values of their own per record: the generator is seeded per case.
class Generator {
 public:
  explicit Generator(unsigned seed) : rng_(seed) {}
  double uniform() { return static_cast<double>(rng_()) / 4294967296.0; }

  MeasurementRecord record(std::int64_t t, const Head& head, const Shape& s) {
    MeasurementRecord r{};
    test::fillDistinctValues(r, static_cast<int>(rng_() % 3));
    setTime(r, t);
    r.setInteger(cells::wiringMode, head.wiringMode);
    const double d = head.declared;
    for (int p = 0; p < 3; ++p) {
      const double rms = d * (s.level[p] + 0.003 * (uniform() - 0.5));
      r.setValue(cells::uaRms + 3 * p, static_cast<float>(rms));
      r.setValue(cells::uaMin + 3 * p,
                 static_cast<float>(std::isnan(s.minAbsolute[p]) ? rms * s.min[p] : d * s.minAbsolute[p]));
      r.setValue(cells::uaMax + 3 * p,
                 static_cast<float>(std::isnan(s.maxAbsolute[p]) ? rms * s.max[p] : d * s.maxAbsolute[p]));
      r.setValue(cells::iaRms + p, static_cast<float>(101.3 + 7.1 * p + 3 * uniform()));
      const double watts = std::isnan(s.activeWatts) ? 31000 + 1300 * p + 900 * uniform() : s.activeWatts / 3;
      r.setValue(cells::pA + p, static_cast<float>(watts));
      r.setValue(cells::qA + p, static_cast<float>(s.reactiveSign * (7300 + 600 * p + 800 * uniform())));
    }
    if (s.invalidPower) r.setValue(cells::pB, std::nanf(""));
    if (s.invalidVoltage) {
      r.setValue(cells::ubRms, static_cast<float>(kInf));
      r.setValue(cells::ucRms, std::nanf(""));
    }
    const bool given = !std::isnan(s.frequency) || s.frequencyCell;
    r.setValue(cells::frequency, static_cast<float>(given ? s.frequency : 50 + 0.36 * (uniform() - 0.5)));
    // Unbalance from the sequence cells; the unbalance cells hold values of their own that must not be used.
    r.setValue(cells::uPositive, static_cast<float>(d * (1 + 0.002 * uniform())));
    r.setValue(cells::uNegative, static_cast<float>(d * (0.011 + 0.0125 * uniform())));
    r.setValue(cells::uUnbalance, 0.7313f);
    r.setValue(cells::iPositive, static_cast<float>(100 + 5 * uniform()));
    r.setValue(cells::iNegative, static_cast<float>(2 + 5 * uniform()));
    r.setValue(cells::iUnbalance, 9.917f);
    harmonics(r, head);
    return r;
  }

 private:
  static void setTime(MeasurementRecord& r, std::int64_t t) {
    const std::string text = timeText(t);  // YYYY-MM-DD HH:MM:SS
    const int fields[6] = {std::stoi(text.substr(2, 2)),  std::stoi(text.substr(5, 2)),
                           std::stoi(text.substr(8, 2)),  std::stoi(text.substr(11, 2)),
                           std::stoi(text.substr(14, 2)), std::stoi(text.substr(17, 2))};
    for (int i = 0; i < 6; ++i) r.cells[cells::timeBcd + i] = static_cast<std::uint32_t>(fields[i] / 10 << 4 | fields[i] % 10);
  }

  // Ua: contents around the limits; Ub: a distortion exactly on the limit of 10 kV (4 %) or, at
  // 35 kV, contents exactly on the odd and even limits (2.4 % and 1.2 %, which a content of a
  // fundamental of 100 gives exactly either way of dividing); Uc small; currents around their limits.
  void harmonics(MeasurementRecord& r, const Head& head) {
    for (int ch = 0; ch < kChannelCount; ++ch) {
      for (int n = 1; n <= 64; ++n) r.setValue(cells::harmonic(ch, n), 0.0f);
    }
    const double h1 = head.declared * (0.98 + 0.04 * uniform());
    r.setValue(cells::harmonic(Ua, 1), static_cast<float>(h1));
    for (int n = 2; n <= 30; ++n) {
      const double limit = head.levelCode >= 4 ? (n % 2 ? 2.4 : 1.2) : (n % 2 ? 3.2 : 1.6);
      r.setValue(cells::harmonic(Ua, n), static_cast<float>(h1 * limit / 100 * (0.55 + 0.5 * uniform())));
    }
    if (head.levelCode >= 4) {
      r.setValue(cells::harmonic(Ub, 1), 100.0f);
      r.setValue(cells::harmonic(Ub, 3), 2.4f);
      r.setValue(cells::harmonic(Ub, 2), 1.2f);
    } else {
      r.setValue(cells::harmonic(Ub, 1), 125.0f);
      r.setValue(cells::harmonic(Ub, 2), 3.0f);
      r.setValue(cells::harmonic(Ub, 3), 4.0f);
    }
    const double uc1 = head.declared * (0.99 + 0.02 * uniform());
    r.setValue(cells::harmonic(Uc, 1), static_cast<float>(uc1));
    for (int n = 2; n <= 64; ++n)
      r.setValue(cells::harmonic(Uc, n), static_cast<float>(uc1 * (0.001 + 0.004 * uniform()) / n));
    for (int ch = Ia; ch <= Ic; ++ch) {
      r.setValue(cells::harmonic(ch, 1), static_cast<float>(100 + 10 * uniform()));
      for (int n = 2; n <= 64; ++n)
        r.setValue(cells::harmonic(ch, n), static_cast<float>((0.4 + 7 * uniform()) * (n <= 7 ? 1.0 : 0.4)));
    }
  }

  std::mt19937 rng_;
};

// One file to write: its head and its records in stored order.
struct GeneratedFile {
  std::string name;
  Head head;
  std::vector<MeasurementRecord> records;
};

void writeFile(const std::string& path, const GeneratedFile& file) {
  const auto store = std::make_unique<RecordStore>();
  store->fileName = path;
  store->voltageLevelCode = static_cast<std::uint8_t>(file.head.levelCode);
  store->ptRatio = 1;
  store->ctRatio = 1;
  store->minShortCircuitCapacity = 100;
  store->supplyEquipmentCapacity = 20;
  store->agreedCapacity = 5;
  for (const MeasurementRecord& r : file.records) ASSERT_TRUE(store->append(r));
  ASSERT_TRUE(rewriteRecordFile(*store));
}

constexpr std::int64_t at(int hour, int minute, int second = 0) { return hour * 3600 + minute * 60 + second; }
const std::int64_t kDay = epochOf(2010, 4, 20, 0, 0, 0);

// Records every `step` seconds of [from, to), each shaped by `shape` (seconds of the day).
using Shaper = std::function<Shape(std::int64_t)>;
void addRecords(GeneratedFile& file, Generator& g, std::int64_t from, std::int64_t to, int step, const Shaper& shape) {
  for (std::int64_t s = from; s < to; s += step) file.records.push_back(g.record(kDay + s, file.head, shape(s)));
}

// All phases' minima at `fraction` of D (dips), or maxima (swells).
Shape minimaAt(double fraction, std::array<bool, 3> phases = {true, true, true}) {
  Shape s;
  for (int p = 0; p < 3; ++p) {
    if (phases[p]) s.minAbsolute[p] = fraction;
  }
  return s;
}
Shape maximaAt(double fraction, std::array<bool, 3> phases) {
  Shape s;
  for (int p = 0; p < 3; ++p) {
    if (phases[p]) s.maxAbsolute[p] = fraction;
  }
  return s;
}
bool within(std::int64_t s, std::int64_t from, std::int64_t to) { return s >= from && s <= to; }

// Two hours of 1-second records with events of every kind and length, invalid cells, a gap, reactive
// power changing sign minute by minute and an event still open at the end.
Shape eventfulHour(std::int64_t s) {
  Shape shape;
  if (within(s, at(10, 5, 58), at(10, 6, 3))) shape = minimaAt(0.7101, {false, true, false});  // dip across a minute
  if (within(s, at(10, 9, 57), at(10, 10, 4))) shape = maximaAt(1.1432, {true, false, true});  // swell across ten minutes
  if (within(s, at(10, 15, 0), at(10, 15, 20))) shape = minimaAt(0.0311);  // short interruption
  if (within(s, at(10, 20, 0), at(11, 9, 59))) {  // 50 minutes of undervoltage at 88 %
    shape.level = {0.8803, 0.8817, 0.8791};
    shape.min = {0.998, 0.997, 0.996};
  }
  if (within(s, at(10, 40, 10), at(10, 40, 14))) shape.minAbsolute = {0.6213, 0.8512, 0.6633};  // a deeper dip in it
  if (within(s, at(11, 20, 0), at(11, 29, 59))) {  // ten minutes at +9 %
    shape.level = {1.0903, 1.0911, 1.0897};
    shape.maxAbsolute = {1.1123, 1.0951, 1.0962};
  }
  if (within(s, at(11, 39, 50), at(11, 39, 59))) shape = minimaAt(0.5123);  // into a long interruption
  if (within(s, at(11, 40, 0), at(11, 43, 19))) {
    shape = minimaAt(0.0052);
    shape.level = {0.0061, 0.0057, 0.0049};
  }
  if (within(s, at(11, 59, 55), at(11, 59, 59))) shape.minAbsolute[0] = 0.8011;  // still open at the end
  if (s % 97 == 13) {
    shape.frequency = kNaN;
    shape.frequencyCell = true;
  }
  if (s % 89 == 7) {
    shape.frequency = 0;
    shape.frequencyCell = true;
  }
  // Whole 10-second intervals at 50.2 and 49.8 Hz, as four-byte floats: a hair beyond ±0.2 Hz.
  if (within(s, at(10, 30, 0), at(10, 30, 9))) shape.frequency = 50.2;
  if (within(s, at(10, 31, 10), at(10, 31, 19))) shape.frequency = 49.8;
  if (s % 61 == 5) shape.frequency = 50.19;
  if (s % 67 == 9) shape.frequency = 49.81;
  if (s % 131 == 21) shape.invalidPower = true;
  if (s % 151 == 33) shape.invalidVoltage = true;
  shape.reactiveSign = (s / 60) % 2 ? -1 : 1;
  return shape;
}

std::vector<GeneratedFile> eventfulHours() {
  Generator g(11);
  GeneratedFile f{"eventful.bin", {}, {}};
  addRecords(f, g, at(10, 0), at(11, 50), 1, eventfulHour);
  addRecords(f, g, at(11, 52, 30), at(12, 0), 1, eventfulHour);  // a gap before
  return {f};
}

// Half an hour of 3-second records whose clock misbehaves, with a dip across a minute.
std::vector<GeneratedFile> clockTroubles() {
  Generator g(23);
  GeneratedFile f{"clock.bin", {}, {}};
  const auto shapeOf = [](std::int64_t s) {
    Shape shape = within(s, at(10, 8, 57), at(10, 9, 6)) ? minimaAt(0.8123, {true, false, false}) : Shape{};
    if (s % 33 == 0) {
      shape.frequency = kNaN;
      shape.frequencyCell = true;
    }
    return shape;
  };
  auto add = [&](std::int64_t s) { f.records.push_back(g.record(kDay + s, f.head, shapeOf(s))); };
  for (std::int64_t s = at(10, 0); s < at(10, 5); s += 3) add(s);
  for (std::int64_t s = at(10, 5, 3); s <= at(10, 5, 30); s += 3) add(s);
  add(at(10, 5));  // stored after 10:05:30
  add(at(10, 5, 30));  // a duplicate
  for (std::int64_t s = at(10, 5, 33); s < at(10, 12); s += 3) add(s);
  add(at(10, 12) + 86400);  // a lone record a day ahead
  for (std::int64_t s = at(10, 12); s <= at(10, 20); s += 3) add(s);
  for (std::int64_t s = at(10, 18); s < at(10, 30); s += 3) add(s);  // the clock set back two minutes
  // Stamps that are no date-time: month 13, 31 April.
  MeasurementRecord bad = g.record(kDay + at(10, 29, 58), f.head, {});
  test::setTimeBytes(bad, {0x10, 0x13, 0x20, 0x10, 0x29, 0x58});
  f.records.insert(f.records.begin() + 40, bad);
  test::setTimeBytes(bad, {0x10, 0x04, 0x31, 0x10, 0x00, 0x00});
  f.records.insert(f.records.begin() + 200, bad);
  return {f};
}

// A recording split into three files (given in the wrong order) inside a minute and inside a dip.
std::vector<GeneratedFile> splitRecording() {
  Generator g(37);
  const auto shapeOf = [](std::int64_t s) {
    Shape shape;
    if (within(s, at(10, 10, 27), at(10, 10, 33))) shape = minimaAt(0.4421, {true, true, false});
    if (within(s, at(10, 30, 5), at(10, 30, 15))) shape = maximaAt(1.1217, {false, true, false});
    shape.reactiveSign = (s / 60) % 3 ? 1 : -1;
    return shape;
  };
  GeneratedFile a{"part1.bin", {}, {}}, b{"part2.bin", {}, {}}, c{"part3.bin", {}, {}};
  addRecords(a, g, at(10, 0), at(10, 10, 30), 1, shapeOf);
  addRecords(b, g, at(10, 10, 30), at(10, 25, 45), 1, shapeOf);
  addRecords(c, g, at(10, 25, 45), at(10, 40), 1, shapeOf);
  return {c, a, b};
}

// Half an hour of 1-second records, then three and a half hours of 1-minute records with a gap, a
// one-record dip and a two-record undervoltage: twenty-odd ten-minute values.
std::vector<GeneratedFile> mixedIntervals() {
  Generator g(41);
  const auto shapeOf = [](std::int64_t s) {
    Shape shape;
    if (s == at(10, 30)) shape = minimaAt(0.7712, {false, false, true});
    if (s == at(11, 30) || s == at(11, 31)) shape.level = {0.8812, 0.9712, 0.9693};
    if (within(s, at(9, 10), at(9, 10, 4))) shape = maximaAt(1.1311, {true, true, true});
    return shape;
  };
  GeneratedFile fine{"seconds.bin", {}, {}}, coarse{"minutes.bin", {}, {}};
  addRecords(fine, g, at(9, 0), at(9, 30), 1, shapeOf);
  addRecords(coarse, g, at(9, 30), at(11, 0), 60, shapeOf);
  addRecords(coarse, g, at(11, 5), at(13, 0), 60, shapeOf);
  return {coarse, fine};
}

// A quarter hour at 90 kW and then three seconds at 150 kW.
std::vector<GeneratedFile> demandFragment() {
  Generator g(53);
  GeneratedFile f{"demand.bin", {}, {}};
  addRecords(f, g, at(10, 0), at(10, 15, 3), 1, [](std::int64_t s) {
    Shape shape;
    shape.activeWatts = s < at(10, 15) ? 90000 : 150000;
    shape.reactiveSign = (s / 60) % 2 ? -1 : 1;
    return shape;
  });
  return {f};
}

// Three-wire records hold line voltages, judged against the line voltage.
std::vector<GeneratedFile> threeWire() {
  Generator g(67);
  GeneratedFile f{"threewire.bin", {3, 3, 10000}, {}};
  addRecords(f, g, at(10, 0), at(10, 20), 1, [](std::int64_t s) {
    if (within(s, at(10, 4, 58), at(10, 5, 9))) return minimaAt(0.6311, {false, true, false});
    if (within(s, at(10, 12, 0), at(10, 13, 30))) return minimaAt(0.8512, {false, false, true});
    return Shape{};
  });
  return {f};
}

// 35 kV: another band, and contents exactly on the limits; four hours of 1-minute records.
std::vector<GeneratedFile> highVoltage() {
  Generator g(79);
  GeneratedFile f{"35kv.bin", {4, 1, 35000 / std::sqrt(3.0)}, {}};
  addRecords(f, g, at(8, 0), at(12, 0), 60, [](std::int64_t s) {
    Shape shape;
    shape.level = {1.0123, 0.9612, 1.0317};  // B 3.9 % low: under the -3 % of 35 kV
    if (s == at(9, 0)) shape = minimaAt(0.0411);
    return shape;
  });
  return {f};
}

struct Case {
  const char* name;
  std::vector<GeneratedFile> (*files)();
  const char* from;
  const char* to;
};

// Every difference between the reference's value and the program's, by path.
void compare(const json& want, const json& got, const std::string& path, std::vector<std::string>& out) {
  if (want.is_object()) {
    if (!got.is_object()) {
      out.push_back(path + ": " + got.dump() + " is no object");
      return;
    }
    for (const auto& [key, value] : want.items()) {
      const std::string at = path.empty() ? key : path + "." + key;
      if (!got.contains(key)) {
        out.push_back(at + ": missing (reference " + value.dump() + ")");
        continue;
      }
      compare(value, got[key], at, out);
    }
    return;
  }
  if (want.is_array()) {
    if (!got.is_array()) {
      out.push_back(path + ": " + got.dump() + " is no array");
      return;
    }
    for (std::size_t i = 0; i < std::min(want.size(), got.size()); ++i)
      compare(want[i], got[i], path + "." + std::to_string(i), out);
    for (std::size_t i = got.size(); i < want.size(); ++i)
      out.push_back(path + "." + std::to_string(i) + ": missing (reference " + want[i].dump() + ")");
    // A flood of extra elements (a gap per record) says no more than its first few and its size.
    for (std::size_t i = want.size(); i < got.size() && i < want.size() + 5; ++i)
      out.push_back(path + "." + std::to_string(i) + ": extra " + got[i].dump());
    if (got.size() > want.size() + 5)
      out.push_back(path + ": " + std::to_string(got.size()) + " elements, reference " + std::to_string(want.size()));
    return;
  }
  if (want.is_number() && got.is_number()) {
    const double a = want.get<double>();
    const double b = got.get<double>();
    // The program writes four-byte floats; the reference adds in another order.
    if (std::fabs(a - b) > 1e-5 * std::max(std::fabs(a), std::fabs(b)) + 1e-9) {
      std::ostringstream line;
      line.precision(9);
      line << path << ": program " << b << ", reference " << a;
      out.push_back(line.str());
    }
    return;
  }
  if (want != got) out.push_back(path + ": program " + got.dump() + ", reference " + want.dump());
}

TEST(ReferenceAssessment, EveryValueOfAssessJsonAgreesWithAPlainCalculation) {
  const Case cases[] = {
      {"events of every kind, 1-s", eventfulHours, nullptr, nullptr},
      {"clock troubles, 3-s", clockTroubles, nullptr, nullptr},
      {"clock troubles in a window ending before a later stored record", clockTroubles, "2010-04-20 10:01:01",
       "2010-04-20 10:05:15"},
      {"three files in the wrong order", splitRecording, nullptr, nullptr},
      {"three files in a window cutting minutes and a swell", splitRecording, "2010-04-20 10:03:30",
       "2010-04-20 10:30:10"},
      {"a 1-s file and a 60-s file", mixedIntervals, nullptr, nullptr},
      {"demand of a fragment", demandFragment, nullptr, nullptr},
      {"three-wire", threeWire, nullptr, nullptr},
      {"35 kV", highVoltage, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    std::vector<std::string> args = {"assess"};
    std::vector<std::string> paths;
    for (const GeneratedFile& file : c.files()) {
      paths.push_back(dir.file(file.name));
      writeFile(paths.back(), file);
      args.push_back(paths.back());
    }
    reference::ReferenceRequest request{paths, std::nullopt, std::nullopt, json::object()};
    if (c.from) {
      args.insert(args.end(), {"--from", c.from});
      request.from = kDay + at(std::stoi(std::string(c.from).substr(11, 2)), std::stoi(std::string(c.from).substr(14, 2)),
                               std::stoi(std::string(c.from).substr(17, 2)));
    }
    if (c.to) {
      args.insert(args.end(), {"--to", c.to});
      request.to = kDay + at(std::stoi(std::string(c.to).substr(11, 2)), std::stoi(std::string(c.to).substr(14, 2)),
                             std::stoi(std::string(c.to).substr(17, 2)));
    }
    const std::string out = dir.file("a.json");
    args.insert(args.end(), {"--json", out});
    const auto result = test::runCli(args);
    ASSERT_EQ(result.status, 0) << result.err;
    const auto bytes = test::readBytes(out);
    const json program = json::parse(std::string(bytes.begin(), bytes.end()));
    request.harmonicLimits = program.value("harmonics", json::object());
    const json want = reference::referenceAssessment(request);
    ASSERT_GT(want["span"]["records"].get<int>(), 0);
    std::vector<std::string> differences;
    compare(want, program, "", differences);
    std::string text;
    for (const std::string& d : differences) text += "\n  " + d;
    EXPECT_TRUE(differences.empty()) << differences.size() << " differences:" << text;
  }
}

}  // namespace
}  // namespace pq
