#pragma once

#include <optional>
#include <string>
#include <vector>

#include "InstrumentModel.h"

namespace pq::sim {

enum class Fault { none, silent, badChecksum, shortAnswers, noise };

struct SimulatorOptions {
  std::optional<std::string> link;
  std::optional<int> port;
  ModelSettings model;
  Fault fault = Fault::none;
  int baud = 9600;  // pacing of the answers: ten bit times per byte
};

inline constexpr const char* kSimulatorUsage =
    "usage: pqdesk-sim [--link PATH] [--port N] [--wiring 1|3] [--pt X] [--ct X] [--seed S]\n"
    "                  [--fault silent|bad-checksum|short|noise] [--baud N]\n";

// Raises cli::UsageError for an unknown option or a bad value.
SimulatorOptions parseSimulatorOptions(const std::vector<std::string>& args);

}  // namespace pq::sim
