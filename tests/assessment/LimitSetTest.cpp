#include "assessment/LimitSet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "assessment/AssessmentMessages.h"
#include "support/TempDir.h"

namespace pq {
namespace {

std::string message(const char* pattern, const char* file, const char* member = "", const char* extra = "") {
  char text[1024];
  std::snprintf(text, sizeof text, pattern, file, member, extra);
  return text;
}

// A complete set whose values all differ from the built-in ones, so that a result shows which set it
// came from.
const char kTestSet[] = R"({
  "name": "test edition",
  "voltageDeviation": {
    "upTo20kV": {"upper": 6.5, "lower": -6.5},
    "from35kV": {"upper": 5.5, "lower": -4.5},
    "singlePhase220V": {"upper": 7.5, "lower": -9.5},
    "requiredQualificationRate": 98.5
  },
  "unbalance": {"use": "network", "network": {"p95": 1.7, "largest": 3.4}, "userShare": {"p95": 1.1, "largest": 2.2}},
  "frequencyDeviation": {"use": "normal", "normal": 0.15, "smallSystem": 0.45},
  "harmonicCurrent": {"superpositionExponents": {
    "2": 1.5, "3": 1.05, "4": 1.5, "5": 1.15, "6": 1.5, "7": 1.35, "8": 1.5, "9": 1.5, "10": 1.5, "11": 1.75,
    "12": 1.5, "13": 1.85, "14": 1.5, "15": 1.5, "16": 1.5, "17": 1.5, "18": 1.5, "19": 1.5, "20": 1.5,
    "21": 1.65, "22": 1.5, "23": 1.7, "24": 1.5, "25": 1.5}}
})";

// kTestSet with one piece of text replaced.
std::string testSetWith(const std::string& from, const std::string& to) {
  std::string text = kTestSet;
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return text.replace(at, from.size(), to);
}

TEST(LimitSet, TheShippedSetBesideTheExecutableIsTheBuiltInOne) {
  const LoadedLimitSet shipped = loadLimitSet(defaultLimitSetFile());
  EXPECT_TRUE(shipped.messages.empty()) << shipped.messages.front();
  const LimitSet builtIn = builtInLimitSet();
  EXPECT_EQ(shipped.set.name, builtIn.name);
  const AssessmentLimits& a = shipped.set.limits;
  const AssessmentLimits& b = builtIn.limits;
  EXPECT_EQ(a.lowVoltageBand.upper, 7);
  EXPECT_EQ(a.lowVoltageBand.lower, -7);
  EXPECT_EQ(a.highVoltageBand.upper, 7);
  EXPECT_EQ(a.highVoltageBand.lower, -3);
  EXPECT_EQ(a.singlePhaseBand.lower, -10);
  EXPECT_EQ(a.unbalance.at95, 2);
  EXPECT_EQ(a.unbalance.largest, 4);
  EXPECT_EQ(a.frequencyDeviation, 0.2);
  for (const auto& [x, y] : {std::pair{a.lowVoltageBand.upper, b.lowVoltageBand.upper},
                             {a.highVoltageBand.lower, b.highVoltageBand.lower},
                             {a.singlePhaseBand.upper, b.singlePhaseBand.upper},
                             {a.requiredQualificationRate, b.requiredQualificationRate},
                             {a.unbalance.at95, b.unbalance.at95},
                             {a.frequencyDeviation, b.frequencyDeviation}})
    EXPECT_EQ(x, y);
  // GB/T 14549-1993 Appendix C: 2 for every order but 3, 5, 7, 11 and 13, orders 21 and 23 too.
  for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
    const double expected = order == 3    ? 1.1
                            : order == 5  ? 1.2
                            : order == 7  ? 1.4
                            : order == 11 ? 1.8
                            : order == 13 ? 1.9
                                          : 2.0;
    EXPECT_EQ(a.superpositionExponents[order], expected) << order;
    EXPECT_EQ(b.superpositionExponents[order], expected) << order;
  }
  // GB/T 14549-1993 Tables 1 and 2, the shipped file's decimals as the built-in four-byte values.
  for (int level = 0; level < kVoltageLevelCount; ++level) {
    const HarmonicLevelLimits& x = a.harmonicLevels[level];
    const HarmonicLevelLimits& y = b.harmonicLevels[level];
    EXPECT_EQ(x.thd, y.thd) << level;
    EXPECT_EQ(x.baseShortCircuitCapacity, y.baseShortCircuitCapacity) << level;
    for (int order = kFirstLimitedOrder; order <= kLastLimitedOrder; ++order) {
      EXPECT_EQ(x.voltage[order], y.voltage[order]) << level << " " << order;
      EXPECT_EQ(x.current[order], y.current[order]) << level << " " << order;
    }
  }
  const HarmonicLevelLimits& tenKilovolt = a.harmonicLevels[2];
  EXPECT_EQ(tenKilovolt.voltage[2], 1.6f);
  EXPECT_EQ(tenKilovolt.voltage[25], 3.2f);
  EXPECT_EQ(tenKilovolt.thd, 4.0f);
  EXPECT_EQ(tenKilovolt.baseShortCircuitCapacity, 100.0f);
  EXPECT_EQ(tenKilovolt.current[5], 20.0f);
  EXPECT_EQ(tenKilovolt.current[25], 4.1f);
  EXPECT_EQ(a.harmonicLevels[5].voltage[24], 0.8f);
  EXPECT_EQ(a.harmonicLevels[5].current[24], 1.0f);
  EXPECT_EQ(a.harmonicLevels[5].baseShortCircuitCapacity, 750.0f);
  ASSERT_EQ(shippedLimitSets().size(), 1u);
  EXPECT_EQ(shippedLimitSets()[0].name, builtIn.name);
}

// A set written before the sets held the harmonic tables takes GB/T 14549's for the levels it lacks.
TEST(LimitSet, ASetWithoutALevelsHarmonicLimitsTakesTheStandardsAndACopyMayChangeThem) {
  const std::string withSome = testSetWith(
      R"("frequencyDeviation": {)",
      R"("harmonicVoltage": {"35kV": {"thd": 2.75, "orders": {"2": 1.15, "3": 2.35, "4": 1.15, "5": 2.35,
         "6": 1.15, "7": 2.35, "8": 1.15, "9": 2.35, "10": 1.15, "11": 2.35, "12": 1.15, "13": 2.35, "14": 1.15,
         "15": 2.35, "16": 1.15, "17": 2.35, "18": 1.15, "19": 2.35, "20": 1.15, "21": 2.35, "22": 1.15,
         "23": 2.35, "24": 1.15, "25": 2.35}}}, "frequencyDeviation": {)");
  const HarmonicLevelTables standard = standardHarmonicLevels();
  for (const std::string& set : {std::string(kTestSet), withSome}) {
    const LoadedLimitSet loaded = limitSetOfTexts(set, "set.json");
    ASSERT_TRUE(loaded.messages.empty()) << loaded.messages.front();
    const HarmonicLevelTables& levels = loaded.set.limits.harmonicLevels;
    EXPECT_EQ(levels[2].voltage[5], 3.2f);
    EXPECT_EQ(levels[2].current[7], 15.0f);
    EXPECT_EQ(levels[3].current[7], standard[3].current[7]);
    EXPECT_EQ(levels[3].thd, set == withSome ? 2.75f : 3.0f);
    EXPECT_EQ(levels[3].voltage[24], set == withSome ? 1.15f : 1.2f);
  }

  const LoadedLimitSet changed = limitSetOfTexts(
      withSome, "set.json",
      R"({"harmonicVoltage": {"10kV": {"orders": {"5": 2.65}}, "35kV": {"thd": 2.55}},
          "harmonicCurrent": {"110kV": {"baseShortCircuitCapacity": 820, "orders": {"25": 1.85}}}})",
      "mine.json");
  ASSERT_TRUE(changed.messages.empty()) << changed.messages.front();
  const HarmonicLevelTables& levels = changed.set.limits.harmonicLevels;
  EXPECT_EQ(levels[2].voltage[5], 2.65f);
  EXPECT_EQ(levels[2].voltage[7], 3.2f);
  EXPECT_EQ(levels[3].thd, 2.55f);
  EXPECT_EQ(levels[3].voltage[3], 2.35f);
  EXPECT_EQ(levels[5].baseShortCircuitCapacity, 820.0f);
  EXPECT_EQ(levels[5].current[25], 1.85f);
  EXPECT_EQ(levels[5].current[24], 1.0f);
}

TEST(LimitSet, AUserCopyOverridesOnlyTheValuesItHolds) {
  const LoadedLimitSet loaded =
      limitSetOfTexts(kTestSet, "set.json",
                      R"({"unbalance": {"use": "userShare"}, "voltageDeviation": {"from35kV": {"upper": 3.5}},
          "frequencyDeviation": {"use": "smallSystem"}})",
                      "mine.json");
  EXPECT_TRUE(loaded.messages.empty());
  const AssessmentLimits& l = loaded.set.limits;
  EXPECT_EQ(loaded.set.name, "test edition");
  EXPECT_EQ(l.unbalance.at95, 1.1);
  EXPECT_EQ(l.unbalance.largest, 2.2);
  EXPECT_EQ(l.highVoltageBand.upper, 3.5);
  EXPECT_EQ(l.highVoltageBand.lower, -4.5);
  EXPECT_EQ(l.lowVoltageBand.upper, 6.5);
  EXPECT_EQ(l.requiredQualificationRate, 98.5);
  EXPECT_EQ(l.frequencyDeviation, 0.45);
  EXPECT_EQ(l.superpositionExponents[21], 1.65);

  const LoadedLimitSet exponents = limitSetOfTexts(
      kTestSet, "set.json", R"({"harmonicCurrent": {"superpositionExponents": {"21": 2, "3": 1.2}}})", "mine.json");
  EXPECT_TRUE(exponents.messages.empty());
  EXPECT_EQ(exponents.set.limits.superpositionExponents[21], 2);
  EXPECT_EQ(exponents.set.limits.superpositionExponents[3], 1.2);
  EXPECT_EQ(exponents.set.limits.superpositionExponents[23], 1.7);
}

TEST(LimitSet, AFaultySetOrCopyIsNamedAndTheSoundSetUsed) {
  struct Case {
    const char* what;
    std::string set;
    std::optional<std::string> copy;
    std::string message;
    double expectedAt95;  // 2: the built-in set; 1.7: the test set without the copy
  };
  const Case cases[] = {
      {"set not JSON", R"({"name": "cut short", )", std::nullopt,
       message(messages::kLimitFileNotJson, "set.json"), 2},
      {"set a list", "[7, -7]", std::nullopt, message(messages::kLimitFileNotJson, "set.json"), 2},
      {"set missing a value", testSetWith(R"("normal": 0.15, )", ""), std::nullopt,
       message(messages::kLimitMemberMissing, "set.json", "frequencyDeviation.normal"), 2},
      {"set missing a group", testSetWith(R"("singlePhase220V": {"upper": 7.5, "lower": -9.5},)", ""),
       std::nullopt, message(messages::kLimitMemberMissing, "set.json", "voltageDeviation.singlePhase220V"),
       2},
      {"set with a number as text", testSetWith(R"("p95": 1.7)", R"("p95": "1.7")"), std::nullopt,
       message(messages::kLimitMemberNotNumber, "set.json", "unbalance.network.p95"), 2},
      {"set with a number where a group belongs",
       testSetWith(R"("from35kV": {"upper": 5.5, "lower": -4.5})", R"("from35kV": 10)"), std::nullopt,
       message(messages::kLimitMemberNotGroup, "set.json", "voltageDeviation.from35kV"), 2},
      {"set with an unknown choice", testSetWith(R"("use": "network")", R"("use": "user")"), std::nullopt,
       message(messages::kLimitMemberBadChoice, "set.json", "unbalance.use", "“network”或“userShare”"), 2},
      {"set name not text", testSetWith(R"("test edition")", "2008"), std::nullopt,
       message(messages::kLimitMemberNotText, "set.json", "name"), 2},
      {"copy not JSON", kTestSet, "unbalance.use = userShare",
       message(messages::kLimitFileNotJson, "mine.json"), 1.7},
      {"copy with a text where a number belongs", kTestSet, R"({"unbalance": {"network": {"p95": "1,3"}}})",
       message(messages::kLimitMemberNotNumber, "mine.json", "unbalance.network.p95"), 1.7},
      {"copy with a misspelt member", kTestSet, R"({"unbalance": {"network": {"p59": 1.3}}})",
       message(messages::kLimitMemberUnknown, "mine.json", "unbalance.network.p59"), 1.7},
      {"copy removing a value", kTestSet, R"({"unbalance": {"network": {"largest": null}}})",
       message(messages::kLimitMemberMissing, "mine.json", "unbalance.network.largest"), 1.7},
      {"copy that is a number", kTestSet, "1.3", message(messages::kLimitFileNotJson, "mine.json"), 1.7},
      {"set missing an exponent", testSetWith(R"("21": 1.65, )", ""), std::nullopt,
       message(messages::kLimitMemberMissing, "set.json", "harmonicCurrent.superpositionExponents.21"), 2},
      {"set with an exponent of 0", testSetWith(R"("23": 1.7)", R"("23": 0)"), std::nullopt,
       message(messages::kLimitMemberNotPositive, "set.json", "harmonicCurrent.superpositionExponents.23"), 2},
      {"copy with an exponent as text", kTestSet, R"({"harmonicCurrent": {"superpositionExponents": {"21": "1.8"}}})",
       message(messages::kLimitMemberNotNumber, "mine.json", "harmonicCurrent.superpositionExponents.21"), 1.7},
      {"copy with a negative exponent", kTestSet, R"({"harmonicCurrent": {"superpositionExponents": {"5": -1.2}}})",
       message(messages::kLimitMemberNotPositive, "mine.json", "harmonicCurrent.superpositionExponents.5"), 1.7},
      {"copy with an order beyond 25", kTestSet, R"({"harmonicCurrent": {"superpositionExponents": {"26": 2}}})",
       message(messages::kLimitMemberUnknown, "mine.json", "harmonicCurrent.superpositionExponents.26"), 1.7},
      {"copy with a voltage limit of 0", kTestSet, R"({"harmonicVoltage": {"10kV": {"orders": {"5": 0}}}})",
       message(messages::kLimitMemberNotPositive, "mine.json", "harmonicVoltage.10kV.orders.5"), 1.7},
      {"copy with a level the tables do not have", kTestSet, R"({"harmonicVoltage": {"20kV": {"thd": 3}}})",
       message(messages::kLimitMemberUnknown, "mine.json", "harmonicVoltage.20kV"), 1.7},
      {"copy with a current as text", kTestSet, R"({"harmonicCurrent": {"110kV": {"orders": {"25": "1.9"}}}})",
       message(messages::kLimitMemberNotNumber, "mine.json", "harmonicCurrent.110kV.orders.25"), 1.7},
      {"copy with a base capacity of 0", kTestSet, R"({"harmonicCurrent": {"6kV": {"baseShortCircuitCapacity": 0}}})",
       message(messages::kLimitMemberNotPositive, "mine.json", "harmonicCurrent.6kV.baseShortCircuitCapacity"), 1.7},
      {"set with a level's voltage limits but no orders",
       testSetWith(R"("frequencyDeviation": {)", R"("harmonicVoltage": {"35kV": {"thd": 3}}, "frequencyDeviation": {)"),
       std::nullopt, message(messages::kLimitMemberMissing, "set.json", "harmonicVoltage.35kV.orders"), 2},
  };
  for (const Case& c : cases) {
    const LoadedLimitSet loaded = limitSetOfTexts(c.set, "set.json", c.copy, "mine.json");
    ASSERT_EQ(loaded.messages.size(), 1u) << c.what;
    EXPECT_EQ(loaded.messages[0], c.message) << c.what;
    EXPECT_EQ(loaded.set.limits.unbalance.at95, c.expectedAt95) << c.what;
    EXPECT_EQ(loaded.refusal, "") << c.what;  // faults of the file, after which a sound set judges
  }
}

TEST(LimitSet, ADeviationBandTheStandardForbidsRefusesTheAssessment) {
  struct Case {
    const char* what;
    std::string set;
    std::optional<std::string> copy;
    std::string refusal;  // empty: allowed
  };
  const Case cases[] = {
      {"35 kV band of +8/-5 in the set", testSetWith(R"("upper": 5.5, "lower": -4.5)", R"("upper": 8, "lower": -5)"),
       std::nullopt, message(messages::kLimitBandTooWide, "set.json", "voltageDeviation.from35kV")},
      {"35 kV band of +8/-5 in a copy", kTestSet,
       R"({"voltageDeviation": {"from35kV": {"upper": 8, "lower": -5}}})",
       message(messages::kLimitBandTooWide, "mine.json", "voltageDeviation.from35kV")},
      {"35 kV band widened on one side only", kTestSet, R"({"voltageDeviation": {"from35kV": {"upper": 5.6}}})",
       message(messages::kLimitBandTooWide, "mine.json", "voltageDeviation.from35kV")},
      {"upper bound below 0", kTestSet, R"({"voltageDeviation": {"upTo20kV": {"upper": -1}}})",
       message(messages::kLimitBandUpperBelowZero, "mine.json", "voltageDeviation.upTo20kV.upper")},
      {"lower bound above 0", kTestSet, R"({"voltageDeviation": {"singlePhase220V": {"lower": 0.5}}})",
       message(messages::kLimitBandLowerAboveZero, "mine.json", "voltageDeviation.singlePhase220V.lower")},
      {"35 kV band of +5/-5", kTestSet, R"({"voltageDeviation": {"from35kV": {"upper": 5, "lower": -5}}})", ""},
      {"35 kV band of +6.9/-3.1", kTestSet, R"({"voltageDeviation": {"from35kV": {"upper": 6.9, "lower": -3.1}}})",
       ""},
      {"a band of 0 on one side", kTestSet, R"({"voltageDeviation": {"upTo20kV": {"upper": 0}}})", ""},
      {"below 35 kV wider than 10 %", kTestSet, R"({"voltageDeviation": {"upTo20kV": {"upper": 10, "lower": -10}}})",
       ""},
  };
  for (const Case& c : cases) {
    const LoadedLimitSet loaded = limitSetOfTexts(c.set, "set.json", c.copy, "mine.json");
    EXPECT_EQ(loaded.refusal, c.refusal) << c.what;
    if (c.refusal.empty()) {
      EXPECT_TRUE(loaded.messages.empty()) << c.what;
    } else {
      EXPECT_EQ(loaded.messages, std::vector<std::string>{c.refusal}) << c.what;
    }
  }
}

TEST(LimitSet, AFileThatCannotBeReadIsNamed) {
  const LoadedLimitSet loaded = loadLimitSet("/nonexistent/set.json", "/nonexistent/mine.json");
  ASSERT_EQ(loaded.messages.size(), 2u);
  EXPECT_EQ(loaded.messages[0], message(messages::kLimitFileUnreadable, "/nonexistent/set.json"));
  EXPECT_EQ(loaded.messages[1], message(messages::kLimitFileUnreadable, "/nonexistent/mine.json"));
  EXPECT_EQ(loaded.set.name, builtInLimitSet().name);
}

void writeText(const std::string& path, const std::string& text) {
  test::writeBytes(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST(LimitSet, AFileOfTheLimitsFolderHoldingSomeValuesTakesTheDefaultSetsForTheRest) {
  const test::TempDir folder;
  const std::string base = folder.file(defaultLimitSetFile().filename().string());
  writeText(base, kTestSet);
  // The user guide's example: the user-share unbalance and the small systems' frequency.
  writeText(folder.file("mine.json"),
            R"({"unbalance": {"use": "userShare"}, "frequencyDeviation": {"use": "smallSystem"}})");
  writeText(folder.file("other.json"), testSetWith(R"("test edition")", R"("other edition")"));

  const auto listed = shippedLimitSets(folder.path());
  ASSERT_EQ(listed.size(), 3u);
  EXPECT_EQ(listed[0].name, "test edition");
  EXPECT_EQ(listed[1].name, "mine.json");  // no name of its own
  EXPECT_EQ(listed[2].name, "other edition");

  const LoadedLimitSet mine = loadListedLimitSet(folder.file("mine.json"), base);
  EXPECT_TRUE(mine.messages.empty()) << mine.messages.front();
  EXPECT_EQ(mine.set.limits.unbalance.at95, 1.1);
  EXPECT_EQ(mine.set.limits.frequencyDeviation, 0.45);
  EXPECT_EQ(mine.set.limits.lowVoltageBand.upper, 6.5);
  EXPECT_EQ(loadListedLimitSet(folder.file("other.json"), base).set.name, "other edition");
  EXPECT_EQ(loadListedLimitSet(base, base).set.name, "test edition");
}

}  // namespace
}  // namespace pq
