#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "assessment/AssessmentLimits.h"

namespace pq {

// A limit set: the limits and rules of one edition of the standards, from a JSON file. The shipped
// sets live in the folder `limits` beside the executables; a user copy may hold only some of the
// values, which then take the place of the set's. The file's members:
//   name                                      the editions, as the page names them
//   voltageDeviation.upTo20kV.upper / .lower  band of three-phase supplies of 20 kV and below, %
//   voltageDeviation.from35kV.upper / .lower  of 35 kV and above (magnitudes summing to at most 10)
//   voltageDeviation.singlePhase220V...       of 220 V single-phase supplies
//   voltageDeviation.requiredQualificationRate  % a phase needs to pass
//   unbalance.use                             "network" or "userShare": which pair applies
//   unbalance.network / userShare .p95 .largest  limits of the 95 % and the largest 10-minute value, %
//   frequencyDeviation.use                    "normal" or "smallSystem"
//   frequencyDeviation.normal / smallSystem   Hz either side of 50 Hz
//   harmonicCurrent.superpositionExponents    α of each harmonic order, {"2": 2.0, "3": 1.1, ..., "25": 2.0}
//   harmonicVoltage.LEVEL.thd / .orders       per level "380V", "6kV", .. "110kV": the permitted distortion and
//                                             content of each order {"2": 1.6, ..., "25": 3.2}, %
//   harmonicCurrent.LEVEL.baseShortCircuitCapacity / .orders   the permitted current of each order (A) at
//                                             that short-circuit capacity (MVA)
// A set file without a level's harmonic limits takes those of GB/T 14549-1993.
struct LimitSet {
  std::string name;
  AssessmentLimits limits;
};

// The set the program starts from: the values of the shipped default file, also built in, so that a
// damaged shipped file still leaves a sound set.
LimitSet builtInLimitSet();

std::filesystem::path shippedLimitSetFolder();
std::filesystem::path defaultLimitSetFile();

// A set of the `limits` folder for a selection: its file and its name (the file name when it cannot
// be used or names no set of its own).
struct LimitSetFile {
  std::filesystem::path path;
  std::string name;
};
std::vector<LimitSetFile> shippedLimitSets(const std::filesystem::path& folder = shippedLimitSetFolder());

// The set of `setFile` with the values of `userCopy` over it, and the messages to show, one per file
// that could not be used. A set file that cannot be read, is no JSON, lacks a member or holds one of
// the wrong type gives its message and the built-in set; a user copy with such a fault (or a member
// the set does not have) gives its message and the set without any of its values, never some of them.
//
// A deviation band the standard forbids (an upper bound below 0, a lower one above 0, or a band of
// 35 kV and above whose magnitudes sum to more than 10 %) is no mere fault of the file: no assessment
// may then be made, neither with the file nor with what it was meant to replace, and `refusal` holds
// its message (one of `messages` as well).
struct LoadedLimitSet {
  LimitSet set;
  std::vector<std::string> messages;
  std::string refusal;
};
LoadedLimitSet loadLimitSet(const std::filesystem::path& setFile,
                            const std::optional<std::filesystem::path>& userCopy = std::nullopt);

// The set of a file of the `limits` folder, as the assessment window offers them: the default set
// `base` as it is, any other file over it as a user copy, so that a file there may hold only the values
// it changes, as one given to `pqdesk-cli assess --limits` may.
LoadedLimitSet loadListedLimitSet(const std::filesystem::path& file,
                                  const std::filesystem::path& base = defaultLimitSetFile());

// The same from texts, `setName` and `copyName` naming them in the messages.
LoadedLimitSet limitSetOfTexts(const std::string& setText, const std::string& setName,
                               const std::optional<std::string>& copyText = std::nullopt,
                               const std::string& copyName = {});

}  // namespace pq
