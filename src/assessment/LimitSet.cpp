#include "assessment/LimitSet.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

#include "assessment/AssessmentMessages.h"
#include "base/ExecutableFolder.h"

namespace pq {

namespace {

// Not `json`: in a unity build the name would shadow the JsonWriter parameters of other files.
using Json = nlohmann::json;

constexpr char kDefaultSetName[] = "GB/T 12325-2008、GB/T 15543-2008、GB/T 15945-2008";
constexpr char kDefaultSetFile[] = "GB-T-2008.json";

// The harmonic limits' keys of the voltage levels 0.38 kV .. 110 kV: no dot, which would split a path.
constexpr const char* kLevelKeys[kVoltageLevelCount] = {"380V", "6kV", "10kV", "35kV", "66kV", "110kV"};

// A file that cannot be used, with the message that says why.
struct Unusable {
  std::string message;
  // A value the standards forbid: the file is sound, but judging by it, or by a set it was meant to
  // replace, would mislead.
  bool forbidden = false;
};

std::string format(const char* pattern, const std::string& file, const std::string& member = {},
                   const std::string& extra = {}) {
  char text[1024];
  std::snprintf(text, sizeof text, pattern, file.c_str(), member.c_str(), extra.c_str());
  return text;
}

class SetReader {
 public:
  SetReader(const Json& root, const std::string& file) : root_(root), file_(file) {}

  const Json& member(const std::string& path) const {
    const Json* at = &root_;
    std::size_t begin = 0;
    while (true) {
      const std::size_t dot = path.find('.', begin);
      const std::string key = path.substr(begin, dot - begin);
      const std::string walked = path.substr(0, dot);
      const auto found = at->find(key);
      if (found == at->end()) throw Unusable{format(messages::kLimitMemberMissing, file_, walked)};
      at = &*found;
      if (dot == std::string::npos) return *at;
      if (!at->is_object()) throw Unusable{format(messages::kLimitMemberNotGroup, file_, walked)};
      begin = dot + 1;
    }
  }

  double number(const std::string& path) const {
    const Json& value = member(path);
    if (!value.is_number()) throw Unusable{format(messages::kLimitMemberNotNumber, file_, path)};
    return value.get<double>();
  }

  std::string text(const std::string& path) const {
    const Json& value = member(path);
    if (!value.is_string()) throw Unusable{format(messages::kLimitMemberNotText, file_, path)};
    return value.get<std::string>();
  }

  // One of two words; which one.
  bool secondChoice(const std::string& path, const char* first, const char* second) const {
    const std::string word = text(path);
    if (word != first && word != second) {
      throw Unusable{format(messages::kLimitMemberBadChoice, file_, path,
                            std::string("“") + first + "”或“" + second + "”")};
    }
    return word == second;
  }

  double positive(const std::string& path) const {
    const double value = number(path);
    if (!(value > 0)) throw Unusable{format(messages::kLimitMemberNotPositive, file_, path)};
    return value;
  }

  // Keyed by the order, "2" to "25".
  SuperpositionExponents exponents(const std::string& path) const {
    SuperpositionExponents exponents{};
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order)
      exponents[order] = positive(path + "." + std::to_string(order));
    return exponents;
  }

  // Keyed by the order, "2" to "25", as four-byte values.
  std::array<float, kLastLimitedOrder + 1> byOrder(const std::string& path) const {
    std::array<float, kLastLimitedOrder + 1> values{};
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order)
      values[order] = static_cast<float>(positive(path + "." + std::to_string(order)));
    return values;
  }

  // Keyed by the level (kLevelKeys).
  HarmonicLevelTables harmonicLevels(const std::string& voltagePath, const std::string& currentPath) const {
    HarmonicLevelTables levels{};
    for (int level = 0; level < kVoltageLevelCount; ++level) {
      const std::string key = kLevelKeys[level];
      HarmonicLevelLimits& limits = levels[level];
      limits.thd = static_cast<float>(positive(voltagePath + "." + key + ".thd"));
      limits.voltage = byOrder(voltagePath + "." + key + ".orders");
      limits.baseShortCircuitCapacity =
          static_cast<float>(positive(currentPath + "." + key + ".baseShortCircuitCapacity"));
      limits.current = byOrder(currentPath + "." + key + ".orders");
    }
    return levels;
  }

  // `tenPercentInAll`: the band of 35 kV and above, whose two magnitudes sum to at most 10 %.
  DeviationBandLimits band(const std::string& path, bool tenPercentInAll = false) const {
    const DeviationBandLimits band{number(path + ".upper"), number(path + ".lower")};
    if (band.upper < 0)
      throw Unusable{format(messages::kLimitBandUpperBelowZero, file_, path + ".upper"), true};
    if (band.lower > 0)
      throw Unusable{format(messages::kLimitBandLowerAboveZero, file_, path + ".lower"), true};
    // The slack keeps a split such as +6.9/-3.1 within, whatever its binary sum.
    if (tenPercentInAll && band.upper - band.lower > 10 + 1e-9)
      throw Unusable{format(messages::kLimitBandTooWide, file_, path), true};
    return band;
  }

  UnbalanceLimits unbalance(const std::string& path) const {
    return {number(path + ".p95"), number(path + ".largest")};
  }

 private:
  const Json& root_;
  const std::string& file_;
};

LimitSet readSet(const Json& root, const std::string& file) {
  if (!root.is_object()) throw Unusable{format(messages::kLimitFileNotJson, file)};
  const SetReader r(root, file);
  LimitSet set;
  set.name = r.text("name");
  AssessmentLimits& limits = set.limits;
  limits.lowVoltageBand = r.band("voltageDeviation.upTo20kV");
  limits.highVoltageBand = r.band("voltageDeviation.from35kV", true);
  limits.singlePhaseBand = r.band("voltageDeviation.singlePhase220V");
  limits.requiredQualificationRate = r.number("voltageDeviation.requiredQualificationRate");
  // Both pairs are read, so that a fault in the one not in use shows before it is chosen.
  const UnbalanceLimits network = r.unbalance("unbalance.network");
  const UnbalanceLimits userShare = r.unbalance("unbalance.userShare");
  limits.unbalance = r.secondChoice("unbalance.use", "network", "userShare") ? userShare : network;
  const double normal = r.number("frequencyDeviation.normal");
  const double smallSystem = r.number("frequencyDeviation.smallSystem");
  limits.frequencyDeviation =
      r.secondChoice("frequencyDeviation.use", "normal", "smallSystem") ? smallSystem : normal;
  limits.superpositionExponents = r.exponents("harmonicCurrent.superpositionExponents");
  limits.harmonicLevels = r.harmonicLevels("harmonicVoltage", "harmonicCurrent");
  return set;
}

Json parsed(const std::string& text, const std::string& file) {
  Json root = Json::parse(text, nullptr, false);
  if (root.is_discarded()) throw Unusable{format(messages::kLimitFileNotJson, file)};
  return root;
}

// A member of the copy that the set does not have is most likely a misspelt name, whose value would
// silently not count.
void checkMembersKnown(const Json& copy, const Json& set, const std::string& file,
                       const std::string& prefix) {
  for (const auto& [key, value] : copy.items()) {
    const std::string path = prefix.empty() ? key : prefix + "." + key;
    const auto known = set.find(key);
    if (known == set.end()) throw Unusable{format(messages::kLimitMemberUnknown, file, path)};
    if (value.is_object() && known->is_object()) checkMembersKnown(value, *known, file, path);
  }
}

std::optional<std::string> fileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return text.str();
}

Json builtInSet() {
  const AssessmentLimits defaults;
  auto band = [](const DeviationBandLimits& b) { return Json{{"upper", b.upper}, {"lower", b.lower}}; };
  auto pair = [](const UnbalanceLimits& u) { return Json{{"p95", u.at95}, {"largest", u.largest}}; };
  auto byOrder = [](const auto& values) {
    Json orders = Json::object();
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order)
      orders[std::to_string(order)] = values[order];
    return orders;
  };
  Json harmonicVoltage = Json::object();
  Json harmonicCurrent = {{"superpositionExponents", byOrder(defaults.superpositionExponents)}};
  for (int level = 0; level < kVoltageLevelCount; ++level) {
    const std::string key = kLevelKeys[level];
    const HarmonicLevelLimits& limits = defaults.harmonicLevels[level];
    harmonicVoltage[key] = {{"thd", limits.thd}, {"orders", byOrder(limits.voltage)}};
    harmonicCurrent[key] = {{"baseShortCircuitCapacity", limits.baseShortCircuitCapacity},
                            {"orders", byOrder(limits.current)}};
  }
  return {
      {"name", kDefaultSetName},
      {"voltageDeviation",
       {{"upTo20kV", band(defaults.lowVoltageBand)},
        {"from35kV", band(defaults.highVoltageBand)},
        {"singlePhase220V", band(defaults.singlePhaseBand)},
        {"requiredQualificationRate", defaults.requiredQualificationRate}}},
      {"unbalance",
       {{"use", "network"}, {"network", pair(kNetworkUnbalance)}, {"userShare", pair(kUserUnbalance)}}},
      {"frequencyDeviation",
       {{"use", "normal"}, {"normal", kNormalFrequencyDeviation}, {"smallSystem", kWideFrequencyDeviation}}},
      {"harmonicVoltage", harmonicVoltage},
      {"harmonicCurrent", harmonicCurrent}};
}

// A set file written before the harmonic limits of the levels were part of a set judges by those of
// GB/T 14549-1993. The exponents' group a set must have; a group that is no object readSet names.
void addMissingHarmonicLevels(Json& set) {
  if (!set.is_object()) return;
  if (!set.contains("harmonicVoltage")) set["harmonicVoltage"] = Json::object();
  const Json builtIn = builtInSet();
  for (const char* group : {"harmonicVoltage", "harmonicCurrent"}) {
    const auto levels = set.find(group);
    if (levels == set.end() || !levels->is_object()) continue;
    for (const char* key : kLevelKeys) {
      if (!levels->contains(key)) (*levels)[key] = builtIn[group][key];
    }
  }
}

// A text, or the message of a file that could not be read.
struct Source {
  std::optional<std::string> text;
  std::string name;
};

LoadedLimitSet limitSetOf(const Source& setSource, const std::optional<Source>& copySource) {
  LoadedLimitSet loaded{builtInLimitSet(), {}, {}};
  Json set = builtInSet();
  try {
    if (!setSource.text) throw Unusable{format(messages::kLimitFileUnreadable, setSource.name)};
    Json read = parsed(*setSource.text, setSource.name);
    addMissingHarmonicLevels(read);
    loaded.set = readSet(read, setSource.name);
    set = read;
  } catch (const Unusable& fault) {
    loaded.messages.push_back(fault.message);
    if (fault.forbidden) loaded.refusal = fault.message;
  }
  if (!copySource) return loaded;
  try {
    if (!copySource->text) throw Unusable{format(messages::kLimitFileUnreadable, copySource->name)};
    const Json copy = parsed(*copySource->text, copySource->name);
    if (!copy.is_object()) throw Unusable{format(messages::kLimitFileNotJson, copySource->name)};
    checkMembersKnown(copy, set, copySource->name, "");
    Json merged = set;
    merged.merge_patch(copy);
    loaded.set = readSet(merged, copySource->name);
  } catch (const Unusable& fault) {
    loaded.messages.push_back(fault.message);
    if (fault.forbidden) loaded.refusal = fault.message;
  }
  return loaded;
}

// The name a file gives itself, if it is a limit file that has one.
std::optional<std::string> ownName(const std::filesystem::path& path) {
  const std::optional<std::string> text = fileText(path);
  if (!text) return std::nullopt;
  const Json root = Json::parse(*text, nullptr, false);
  if (!root.is_object()) return std::nullopt;
  const auto name = root.find("name");
  if (name == root.end() || !name->is_string()) return std::nullopt;
  return name->get<std::string>();
}

}  // namespace

LimitSet builtInLimitSet() { return readSet(builtInSet(), kDefaultSetFile); }

std::filesystem::path shippedLimitSetFolder() { return executableFolder() / "limits"; }

std::filesystem::path defaultLimitSetFile() { return shippedLimitSetFolder() / kDefaultSetFile; }

std::vector<LimitSetFile> shippedLimitSets(const std::filesystem::path& folder) {
  std::vector<LimitSetFile> sets;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (entry.path().extension() != ".json") continue;
    const LoadedLimitSet loaded = loadListedLimitSet(entry.path(), folder / kDefaultSetFile);
    // A file that changes some values only would otherwise show under the default set's name.
    const std::optional<std::string> name = ownName(entry.path());
    sets.push_back({entry.path(), loaded.messages.empty() && name ? *name : entry.path().filename().string()});
  }
  std::sort(sets.begin(), sets.end(),
            [](const LimitSetFile& a, const LimitSetFile& b) { return a.path < b.path; });
  return sets;
}

LoadedLimitSet limitSetOfTexts(const std::string& setText, const std::string& setName,
                               const std::optional<std::string>& copyText, const std::string& copyName) {
  std::optional<Source> copy;
  if (copyText) copy = Source{copyText, copyName};
  return limitSetOf({setText, setName}, copy);
}

LoadedLimitSet loadLimitSet(const std::filesystem::path& setFile,
                            const std::optional<std::filesystem::path>& userCopy) {
  std::optional<Source> copy;
  if (userCopy) copy = Source{fileText(*userCopy), userCopy->string()};
  return limitSetOf({fileText(setFile), setFile.string()}, copy);
}

LoadedLimitSet loadListedLimitSet(const std::filesystem::path& file, const std::filesystem::path& base) {
  std::error_code error;
  if (file == base || std::filesystem::equivalent(file, base, error)) return loadLimitSet(base);
  return loadLimitSet(base, file);
}

}  // namespace pq
