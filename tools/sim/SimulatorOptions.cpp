#include "SimulatorOptions.h"

#include "cli/CommandLine.h"

namespace pq::sim {

SimulatorOptions parseSimulatorOptions(const std::vector<std::string>& args) {
  const cli::Arguments arguments(args, {"link", "port", "wiring", "pt", "ct", "seed", "fault", "baud"});
  arguments.expectPositionals(0);
  SimulatorOptions options;
  options.link = arguments.text("link");
  if (const auto port = arguments.integer("port", 1, 999999999)) options.port = static_cast<int>(*port);
  options.model.wiring = static_cast<int>(arguments.integer("wiring", 1, 3).value_or(1));
  if (options.model.wiring == 2) throw cli::UsageError("--wiring is 1 or 3");
  options.model.ptRatio = arguments.number("pt").value_or(100.0f);
  options.model.ctRatio = arguments.number("ct").value_or(20.0f);
  options.model.seed = static_cast<std::uint32_t>(arguments.integer("seed", 0, 0xFFFFFFFFLL).value_or(1));
  options.baud = static_cast<int>(arguments.integer("baud", 300, 4000000).value_or(9600));
  const std::string fault = arguments.text("fault", "");
  if (fault == "silent") {
    options.fault = Fault::silent;
  } else if (fault == "bad-checksum") {
    options.fault = Fault::badChecksum;
  } else if (fault == "short") {
    options.fault = Fault::shortAnswers;
  } else if (fault == "noise") {
    options.fault = Fault::noise;
  } else if (!fault.empty()) {
    throw cli::UsageError("unknown --fault " + fault);
  }
  return options;
}

}  // namespace pq::sim
