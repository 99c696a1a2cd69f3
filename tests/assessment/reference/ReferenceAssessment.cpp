#include "assessment/reference/ReferenceAssessment.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>
#include <memory>
#include <set>

#include "records/RecordFileImport.h"
#include "records/RecordStore.h"

namespace pq::reference {

using nlohmann::json;

namespace {

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// Howard Hinnant's days_from_civil: plain arithmetic, so that no calendar code of the program is shared.
std::int64_t daysFromCivil(int y, int m, int d) {
  y -= m <= 2 ? 1 : 0;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<std::int64_t>(era) * 146097 + doe - 719468;
}

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && isLeap(y) ? 29 : kDays[m - 1];
}

std::optional<std::int64_t> recordSeconds(const RecordStore& store, int index) {
  const RecordTime t = store.recordTime(index);
  if (t.year < 0 || t.month < 1 || t.month > 12 || t.day < 1) return std::nullopt;
  const int year = 2000 + t.year;
  if (t.day > daysInMonth(year, t.month)) return std::nullopt;
  if (t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59 || t.second < 0 || t.second > 59)
    return std::nullopt;
  return epochOf(year, t.month, t.day, t.hour, t.minute, t.second);
}

struct LoadedFile {
  std::vector<MeasurementRecord> records;
  std::vector<std::optional<std::int64_t>> times;
  int interval = 1;
  std::uint8_t levelCode = 0;
  float ptRatio = 0;
  std::int32_t nominalVoltage = 0;
};

int intervalOf(const LoadedFile& file) {
  std::vector<std::int64_t> taken;
  for (std::size_t i = 0; i < file.times.size() && i < 4096; ++i) {
    if (!file.times[i]) continue;
    if (taken.empty() || *file.times[i] > taken.back()) taken.push_back(*file.times[i]);
  }
  if (taken.size() < 2) return 1;
  std::map<std::int64_t, int> steps;
  for (std::size_t i = 1; i < taken.size(); ++i) ++steps[taken[i] - taken[i - 1]];
  std::int64_t best = 0;
  int bestCount = 0;
  for (const auto& [step, count] : steps) {
    if (count > bestCount) {
      best = step;
      bestCount = count;
    }
  }
  return static_cast<int>(std::clamp<std::int64_t>(best, 1, 86400));
}

// A record let through the time gate.
struct Rec {
  const MeasurementRecord* r;
  std::int64_t t;
  int interval;
};

std::optional<double> finite(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<double> cellValue(const Rec& rec, int cell) { return finite(rec.r->value(cell)); }

std::optional<double> sequenceRatio(const Rec& rec, int negative, int positive) {
  const double n = rec.r->value(negative);
  const double p = rec.r->value(positive);
  if (!(p > 0) || !std::isfinite(p) || !std::isfinite(n)) return std::nullopt;
  return n / p * 100;
}

std::optional<double> frequencyOf(const Rec& rec) {
  const double f = rec.r->value(cells::frequency);
  if (!(f > 0) || !std::isfinite(f)) return std::nullopt;
  return f;
}

std::optional<double> contentOf(const Rec& rec, int channel, int order) {
  const double h1 = rec.r->harmonic(channel, 1);
  const double threshold = channel < Ia ? 0.05 : 0.001;
  if (!(h1 > threshold)) return 0.0;
  return finite(static_cast<double>(rec.r->harmonic(channel, order)) / h1 * 100);
}

std::optional<double> thdOf(const Rec& rec, int channel) {
  const double h1 = rec.r->harmonic(channel, 1);
  double sum = 0;
  for (int n = 2; n <= 64; ++n) {
    const double h = rec.r->harmonic(channel, n);
    sum += h * h;
  }
  if (h1 > 0.001 && sum > 0) return finite(std::sqrt(sum) / h1 * 100);
  return 0.0;
}

// Total P and Q in kW / kvar: the float sums of the three phases.
double totalOf(const Rec& rec, int first, bool kilo) {
  const float sum = rec.r->value(first) + rec.r->value(first + 1) + rec.r->value(first + 2);
  return kilo ? static_cast<double>(sum) : static_cast<double>(sum) / 1000;
}

json number(double v) { return std::isfinite(v) ? json(v) : json(nullptr); }

struct Stats {
  int n = 0;
  double max = kNone, min = kNone, mean = kNone, p95 = kNone;
};

// The 95 % value is the ceil(N/20)-th largest, of magnitudes for signed indices.
Stats statsOf(const std::vector<double>& values, bool magnitudes, bool p95NeedsTwenty) {
  Stats s;
  s.n = static_cast<int>(values.size());
  if (values.empty()) return s;
  s.max = *std::max_element(values.begin(), values.end());
  s.min = *std::min_element(values.begin(), values.end());
  double sum = 0;
  for (const double v : values) sum += v;
  s.mean = sum / s.n;
  if (p95NeedsTwenty && s.n < 20) return s;
  std::vector<double> ranked = values;
  if (magnitudes) {
    for (double& v : ranked) v = std::fabs(v);
  }
  std::sort(ranked.begin(), ranked.end(), std::greater<double>());
  s.p95 = ranked[static_cast<std::size_t>((s.n + 19) / 20 - 1)];
  return s;
}

enum class Side { Dip, Swell };

struct Event {
  Side side;
  int first = 0, last = 0;  // indexes into the records
  std::array<bool, 3> phases{};
  double extreme = 0;
  bool allBelowTen = false;
  int firstAllBelowTen = -1;
  bool unfinished = false;
  int seconds = 0;
};

enum class Status { Plain, Flagged, Outage };

struct Interval {
  std::vector<int> records;
  Status status = Status::Plain;
};

using Intervals = std::map<std::int64_t, Interval>;

Intervals intervalsOf(const std::vector<Rec>& recs, const std::vector<Status>& status, int length) {
  Intervals intervals;
  for (int i = 0; i < static_cast<int>(recs.size()); ++i) {
    const std::int64_t start = recs[i].t - (((recs[i].t % length) + length) % length);
    Interval& interval = intervals[start];
    interval.records.push_back(i);
    if (status[i] == Status::Outage) interval.status = Status::Outage;
    if (status[i] == Status::Flagged && interval.status == Status::Plain) interval.status = Status::Flagged;
  }
  return intervals;
}

template <class Value>
std::optional<double> rmsOf(const std::vector<Rec>& recs, const Interval& interval, Value value) {
  double sum = 0;
  int n = 0;
  for (const int i : interval.records) {
    if (const auto v = value(recs[i])) {
      sum += *v * *v;
      ++n;
    }
  }
  if (n == 0) return std::nullopt;
  return std::sqrt(sum / n);
}

template <class Value>
std::optional<double> meanOf(const std::vector<Rec>& recs, const Interval& interval, Value value) {
  double sum = 0;
  int n = 0;
  for (const int i : interval.records) {
    if (const auto v = value(recs[i])) {
      sum += *v;
      ++n;
    }
  }
  if (n == 0) return std::nullopt;
  return sum / n;
}

const char* verdictOf(bool pass) { return pass ? "合格" : "不合格"; }

}  // namespace

std::int64_t epochOf(int year, int month, int day, int hour, int minute, int second) {
  return daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string timeText(std::int64_t seconds) {
  const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  const std::int64_t of = seconds - days * 86400;
  // civil_from_days
  const std::int64_t z = days + 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const std::int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const std::int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  char text[128];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(y),
                static_cast<long long>(m), static_cast<long long>(d), static_cast<long long>(of / 3600),
                static_cast<long long>(of / 60 % 60), static_cast<long long>(of % 60));
  return text;
}

json referenceAssessment(const ReferenceRequest& request) {
  // Files: imported one after another, then taken in the order of their first record's time (a file
  // whose first stamp is no date-time last).
  std::vector<LoadedFile> files;
  {
    const auto store = std::make_unique<RecordStore>();
    QuietImportListener quiet;
    for (const std::string& path : request.files) {
      store->resetDefaults();
      importRecordFile(*store, path, quiet);
      LoadedFile file;
      for (int i = 0; i < store->recordCount(); ++i) {
        file.records.push_back(store->record(i));
        file.times.push_back(recordSeconds(*store, i));
      }
      file.interval = intervalOf(file);
      file.levelCode = store->voltageLevelCode;
      file.ptRatio = store->ptRatio;
      file.nominalVoltage = store->nominalVoltage;
      files.push_back(std::move(file));
    }
  }
  std::stable_sort(files.begin(), files.end(), [](const LoadedFile& a, const LoadedFile& b) {
    const auto first = [](const LoadedFile& f) { return f.times.empty() ? std::nullopt : f.times[0]; };
    const auto ta = first(a);
    const auto tb = first(b);
    if (ta && tb) return *ta < *tb;
    return ta.has_value() && !tb.has_value();
  });

  // The dated records in the window, in file order; the undatable ones counted whatever the window.
  int undatable = 0;
  std::vector<Rec> dated;
  for (const LoadedFile& file : files) {
    for (std::size_t i = 0; i < file.records.size(); ++i) {
      if (!file.times[i]) {
        ++undatable;
        continue;
      }
      const std::int64_t t = *file.times[i];
      if ((request.from && t < *request.from) || (request.to && t > *request.to)) continue;
      dated.push_back({&file.records[i], t, file.interval});
    }
  }

  // The time gate.
  int duplicates = 0;
  int outOfOrder = 0;
  std::vector<Rec> recs;
  for (std::size_t j = 0; j < dated.size(); ++j) {
    const std::int64_t c = dated[j].t;
    // P, the record let through last: none at the start, which every time is after.
    const std::int64_t p = recs.empty() ? std::numeric_limits<std::int64_t>::min() : recs.back().t;
    if (c == p) {
      ++duplicates;
      continue;
    }
    if (c < p) {
      ++outOfOrder;
      continue;
    }
    if (j + 1 < dated.size()) {
      const std::int64_t n = dated[j + 1].t;
      if (n < c && n > p) {
        ++outOfOrder;
        continue;
      }
    }
    recs.push_back(dated[j]);
  }

  json out;
  out["skipped"] = {{"duplicates", duplicates}, {"outOfOrder", outOfOrder}, {"undatable", undatable}};
  json& span = out["span"];
  span["records"] = recs.size();
  if (recs.empty()) return out;
  // Every recording interval of the records assessed, each once, ascending.
  std::set<int> distinctIntervals;
  for (const auto& r : recs) distinctIntervals.insert(r.interval);
  span["recordIntervals"] = std::vector<int>(distinctIntervals.begin(), distinctIntervals.end());

  span["first"] = timeText(recs.front().t);
  span["last"] = timeText(recs.back().t);
  json gaps = json::array();
  for (std::size_t k = 1; k < recs.size(); ++k) {
    const std::int64_t b = recs[k - 1].t;
    const std::int64_t a = recs[k].t;
    const int interval = recs[k - 1].interval;
    const int tolerance = std::max(1, interval / 2);
    if (a - b > interval + tolerance) {
      gaps.push_back({{"from", timeText(b + interval)}, {"to", timeText(std::max(b + interval, a - interval))}});
    }
  }
  span["gaps"] = gaps;

  // The supply: the head of the first file, the wiring of the first record.
  const LoadedFile& head = files.front();
  const bool kilo = head.ptRatio > 1.0f;
  double nominal = head.nominalVoltage;
  if (nominal == 0 && head.levelCode == 1) nominal = kilo ? 0.38 : 380;
  const bool fourWire = recs.front().r->integer(cells::wiringMode) == 1;
  const double declared = fourWire ? nominal / std::sqrt(3.0) : nominal;
  const double nominalKv = kilo ? nominal : nominal / 1000;

  // Voltage events, each side followed on its own.
  std::vector<Event> events;
  for (const Side side : {Side::Dip, Side::Swell}) {
    const bool dip = side == Side::Dip;
    const double opens = declared * (dip ? 0.90 : 1.10);
    const double holds = declared * (dip ? 0.92 : 1.08);
    std::optional<Event> open;
    for (int i = 0; i < static_cast<int>(recs.size()); ++i) {
      std::array<double, 3> u{};
      for (int phase = 0; phase < 3; ++phase)
        u[phase] = recs[i].r->value((dip ? cells::uaMin : cells::uaMax) + 3 * phase);
      bool anyOpens = false;
      bool anyHolds = false;
      for (const double v : u) {
        anyOpens = anyOpens || (dip ? v < opens : v > opens);
        anyHolds = anyHolds || (dip ? v < holds : v > holds);
      }
      if (!open) {
        if (!anyOpens) continue;
        open = Event{side, i, i, {}, dip ? std::numeric_limits<double>::infinity()
                                         : -std::numeric_limits<double>::infinity()};
      } else if (!anyHolds) {
        events.push_back(*open);
        open.reset();
        continue;
      }
      Event& e = *open;
      e.last = i;
      bool allBelowTen = true;
      for (int phase = 0; phase < 3; ++phase) {
        if (dip ? u[phase] < opens : u[phase] > opens) e.phases[phase] = true;
        if (dip ? u[phase] < e.extreme : u[phase] > e.extreme) e.extreme = u[phase];
        allBelowTen = allBelowTen && u[phase] < 0.10 * declared;
      }
      if (dip && allBelowTen) {
        e.allBelowTen = true;
        if (e.firstAllBelowTen < 0) e.firstAllBelowTen = i;
      }
    }
    if (open) {
      open->unfinished = true;
      events.push_back(*open);
    }
  }
  std::stable_sort(events.begin(), events.end(),
                   [&](const Event& a, const Event& b) { return recs[a.first].t < recs[b.first].t; });

  std::vector<Status> status(recs.size(), Status::Plain);
  std::int64_t outageSeconds = 0;
  for (Event& e : events) {
    for (int i = e.first; i <= e.last; ++i) e.seconds += recs[i].interval;
  }
  for (const Event& e : events) {
    if (e.seconds <= 60) {
      for (int i = e.first; i <= e.last; ++i) {
        if (status[i] == Status::Plain) status[i] = Status::Flagged;
      }
    } else if (e.side == Side::Dip && e.allBelowTen) {
      for (int i = e.firstAllBelowTen; i <= e.last; ++i) status[i] = Status::Outage;
    }
  }
  // The outage time the page names: the durations of the long interruptions.
  for (const Event& e : events) {
    if (e.seconds > 60 && e.side == Side::Dip && e.allBelowTen) outageSeconds += e.seconds;
  }
  span["outageSeconds"] = outageSeconds;

  static constexpr const char* kPhases[] = {"A", "B", "C"};
  static constexpr const char* kLines[] = {"AB", "BC", "CA"};
  const char* const* phaseNames = fourWire ? kPhases : kLines;
  json shortEvents = json::array();
  json sustained = json::array();
  int sarfi90 = 0, sarfi70 = 0, sarfi50 = 0, sarfi10 = 0;
  for (const Event& e : events) {
    const bool isShort = e.seconds <= 60;
    const bool dip = e.side == Side::Dip;
    const char* kind = isShort ? (dip ? (e.allBelowTen ? "interruption" : "dip") : "swell")
                               : (dip ? (e.allBelowTen ? "longInterruption" : "undervoltage") : "overvoltage");
    std::string phases;
    for (int phase = 0; phase < 3; ++phase) {
      if (!e.phases[phase]) continue;
      if (!phases.empty()) phases += ' ';
      phases += phaseNames[phase];
    }
    const double residual = e.extreme / declared * 100;
    json item = {{"kind", kind},         {"start", timeText(recs[e.first].t)}, {"durationSeconds", e.seconds},
                 {"phases", phases},     {"residual", residual},               {"unfinished", e.unfinished}};
    (isShort ? shortEvents : sustained).push_back(item);
    if (isShort && dip) {
      sarfi90 += residual < 90 ? 1 : 0;
      sarfi70 += residual < 70 ? 1 : 0;
      sarfi50 += residual < 50 ? 1 : 0;
      sarfi10 += residual < 10 ? 1 : 0;
    }
  }
  out["events"] = shortEvents;
  out["sustained"] = sustained;
  out["sarfi"] = {{"90", sarfi90}, {"70", sarfi70}, {"50", sarfi50}, {"10", sarfi10}};

  const Intervals threeSeconds = intervalsOf(recs, status, 3);
  const Intervals tenSeconds = intervalsOf(recs, status, 10);
  const Intervals minutes = intervalsOf(recs, status, 60);
  const Intervals tenMinutes = intervalsOf(recs, status, 600);

  // Voltage deviation.
  {
    std::optional<std::pair<double, double>> band;
    if (nominalKv > 0 && nominalKv <= 20) band = {7.0, -7.0};
    if (nominalKv >= 35) band = {7.0, -3.0};
    json& deviation = out["deviation"];
    deviation["upperLimit"] = band ? json(band->first) : json(nullptr);
    deviation["lowerLimit"] = band ? json(band->second) : json(nullptr);
    deviation["declaredVoltage"] = declared;
    for (int phase = 0; phase < 3; ++phase) {
      int outage = 0, flagged = 0, withoutValue = 0;
      std::vector<double> d;
      for (const auto& [start, interval] : minutes) {
        if (interval.status == Status::Outage) {
          ++outage;
        } else if (interval.status == Status::Flagged) {
          ++flagged;
        } else if (const auto u =
                       rmsOf(recs, interval, [&](const Rec& r) { return cellValue(r, cells::uaRms + 3 * phase); })) {
          d.push_back((*u - declared) / declared * 100);
        } else {
          ++withoutValue;
        }
      }
      int over = 0, under = 0;
      if (band) {
        for (const double v : d) {
          over += v > band->first ? 1 : 0;
          under += v < band->second ? 1 : 0;
        }
      }
      const Stats s = statsOf(d, true, true);
      json p;
      p["monitoredMinutes"] = d.size();
      p["overMinutes"] = over;
      p["underMinutes"] = under;
      p["flaggedMinutes"] = flagged;
      p["outageMinutes"] = outage;
      p["minutesWithoutValue"] = withoutValue;
      const bool judged = band && !d.empty();
      double rate = kNone;
      if (judged) {
        rate = (1 - static_cast<double>(over + under) / static_cast<double>(d.size())) * 100;
        rate = std::round(rate * 100) / 100;
      }
      p["qualificationRate"] = number(rate);
      p["max"] = number(s.max);
      p["min"] = number(s.min);
      p["mean"] = number(s.mean);
      p["p95"] = number(s.p95);
      p["verdict"] = judged ? json(verdictOf(rate >= 100)) : json(nullptr);
      deviation["phases"][phaseNames[phase]] = p;
    }
  }

  // Unbalance.
  {
    int flagged = 0, outage = 0;
    std::vector<double> voltage, current;
    for (const auto& [start, interval] : tenMinutes) {
      if (interval.status == Status::Outage) {
        ++outage;
        continue;
      }
      if (interval.status == Status::Flagged) {
        ++flagged;
        continue;
      }
      if (const auto v = rmsOf(recs, interval,
                               [](const Rec& r) { return sequenceRatio(r, cells::uNegative, cells::uPositive); }))
        voltage.push_back(*v);
      if (const auto v = rmsOf(recs, interval,
                               [](const Rec& r) { return sequenceRatio(r, cells::iNegative, cells::iPositive); }))
        current.push_back(*v);
    }
    const Stats s = statsOf(voltage, false, true);
    int within = 0;
    for (const double v : voltage) within += v <= 2 ? 1 : 0;
    json& u = out["unbalance"];
    u["p95"] = number(s.p95);
    u["max"] = number(s.max);
    u["limit"] = 2;
    u["shortTermLimit"] = 4;
    u["passRate"] = voltage.empty() ? json(nullptr) : json(100.0 * within / static_cast<double>(voltage.size()));
    u["verdict"] = std::isfinite(s.p95) ? json(verdictOf(s.p95 <= 2 && s.max <= 4)) : json(nullptr);
    u["flaggedIntervals"] = flagged;
    u["outageIntervals"] = outage;
    const Stats c = statsOf(current, false, true);
    u["current"] = {{"p95", number(c.p95)}, {"max", number(c.max)}, {"min", number(c.min)}};
  }

  // Frequency.
  {
    int flagged = 0, outage = 0, invalid = 0;
    for (const Rec& r : recs) invalid += frequencyOf(r) ? 0 : 1;
    std::vector<double> deviations;
    for (const auto& [start, interval] : tenSeconds) {
      if (interval.status == Status::Outage) {
        ++outage;
        continue;
      }
      if (interval.status == Status::Flagged) {
        ++flagged;
        continue;
      }
      if (const auto f = meanOf(recs, interval, frequencyOf)) deviations.push_back(*f - 50);
    }
    const Stats s = statsOf(deviations, true, true);
    int within = 0;
    for (const double d : deviations) within += std::fabs(d) <= 0.2 ? 1 : 0;
    json& f = out["frequency"];
    f["max"] = number(s.max);
    f["min"] = number(s.min);
    f["p95"] = number(s.p95);
    f["limit"] = 0.2;
    f["passRate"] =
        deviations.empty() ? json(nullptr) : json(100.0 * within / static_cast<double>(deviations.size()));
    f["verdict"] = deviations.empty() ? json(nullptr) : json(verdictOf(within == static_cast<int>(deviations.size())));
    f["flaggedIntervals"] = flagged;
    f["outageIntervals"] = outage;
    f["invalidRecords"] = invalid;
  }

  // Harmonics.
  {
    json& harmonics = out["harmonics"];
    auto judge = [&](int channel, const std::string& key, auto value) {
      std::vector<double> values;
      for (const auto& [start, interval] : threeSeconds) {
        if (interval.status != Status::Plain) continue;
        if (const auto v = rmsOf(recs, interval, value)) values.push_back(*v);
      }
      const Stats s = statsOf(values, false, true);
      double limit = kNone;
      const json& given = request.harmonicLimits;
      if (given.contains(kChannelNames[channel]) && given[kChannelNames[channel]].contains(key) &&
          given[kChannelNames[channel]][key].contains("limit") &&
          given[kChannelNames[channel]][key]["limit"].is_number()) {
        // The program's limits are four-byte floats, written as their shortest text.
        limit = static_cast<float>(given[kChannelNames[channel]][key]["limit"].get<double>());
      }
      const bool limited = limit > 0 && std::isfinite(limit);
      int within = 0;
      for (const double v : values) within += v <= limit ? 1 : 0;
      json h;
      h["max"] = number(s.max);
      h["min"] = number(s.min);
      h["avg"] = number(s.mean);
      h["p95"] = number(s.p95);
      h["limit"] = number(limit);
      h["passRate"] = limited && !values.empty() ? json(100.0 * within / static_cast<double>(values.size()))
                                                 : json(nullptr);
      h["verdict"] = limited && std::isfinite(s.p95) ? json(verdictOf(s.p95 <= limit)) : json(nullptr);
      harmonics[kChannelNames[channel]][key] = h;
    };
    for (int channel = Ua; channel <= Uc; ++channel) {
      for (int order = 2; order <= 25; ++order)
        judge(channel, std::to_string(order), [&](const Rec& r) { return contentOf(r, channel, order); });
      judge(channel, "thd", [&](const Rec& r) { return thdOf(r, channel); });
    }
    for (int channel = Ia; channel <= Ic; ++channel) {
      for (int order = 2; order <= 25; ++order)
        judge(channel, std::to_string(order),
              [&](const Rec& r) { return finite(r.r->harmonic(channel, order)); });
    }
  }

  // Energy and demand.
  {
    double activeKws = 0, laggingKvars = 0, leadingKvars = 0;
    std::map<std::int64_t, double> blocks;  // kW·s per quarter hour
    for (std::size_t i = 0; i < recs.size(); ++i) {
      const double p = totalOf(recs[i], cells::pA, kilo);
      const double q = totalOf(recs[i], cells::qA, kilo);
      if (!std::isfinite(p) || !std::isfinite(q)) continue;
      const std::int64_t s =
          i + 1 < recs.size() ? std::min<std::int64_t>(recs[i + 1].t - recs[i].t, recs[i].interval) : recs[i].interval;
      activeKws += p * static_cast<double>(s);
      if (q > 0) laggingKvars += q * static_cast<double>(s);
      if (q < 0) leadingKvars += q * static_cast<double>(s);
      blocks[recs[i].t - recs[i].t % 900] += p * static_cast<double>(s);
    }
    const double active = activeKws / 3600;
    const double lagging = laggingKvars / 3600;
    const double leading = leadingKvars / 3600;
    const double reactive = lagging + std::fabs(leading);
    json& e = out["energy"];
    e["activeKWh"] = active;
    e["reactiveKvarh"] = reactive;
    e["laggingKvarh"] = lagging;
    e["leadingKvarh"] = leading;
    e["powerFactor"] =
        active == 0 && reactive == 0 ? json(nullptr) : json(std::fabs(active) / std::sqrt(active * active + reactive * reactive));
    std::optional<std::pair<std::int64_t, double>> largest;
    for (const auto& [start, kws] : blocks) {
      if (!largest || kws / 900 > largest->second) largest = {start, kws / 900};
    }
    e["maxDemandKW"] = largest ? json(largest->second) : json(nullptr);
    e["maxDemandAt"] = largest ? json(timeText(largest->first)) : json(nullptr);
  }
  return out;
}

}  // namespace pq::reference
