#include <iostream>

#include "base/TextCodec.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportToConsole.h"
#include "records/RecordTimeText.h"

namespace pq::cli {

int runInfo(const std::vector<std::string>& args) {
  const Arguments arguments(args, {});
  const std::string& path = arguments.positional(0, "record file");
  arguments.expectPositionals(1);

  RecordStore store;
  const ImportResult result = importToConsole(store, path);
  if (result == ImportResult::CannotOpen) return kExitRefused;

  std::cout << "file: " << store.fileName << '\n'
            << "substation: " << gbkToUtf8(store.substationName) << '\n'
            << "measuring_point: " << gbkToUtf8(store.measuringPointName) << '\n'
            << "voltage_level_code: " << int{store.voltageLevelCode} << '\n'
            << "nominal_voltage: " << store.nominalVoltage << '\n'
            << "min_short_circuit_capacity: " << floatText(store.minShortCircuitCapacity) << '\n'
            << "supply_equipment_capacity: " << floatText(store.supplyEquipmentCapacity) << '\n'
            << "agreed_capacity: " << floatText(store.agreedCapacity) << '\n'
            << "pt_ratio: " << floatText(store.ptRatio) << '\n'
            << "ct_ratio: " << floatText(store.ctRatio) << '\n'
            << "records: " << store.recordCount() << '\n';
  if (store.recordCount() > 0) {
    std::cout << "first: " << recordTimeText(store, 0) << '\n'
              << "last: " << recordTimeText(store, store.recordCount() - 1) << '\n';
  }
  std::cout.flush();
  return result == ImportResult::Completed && store.recordCount() > 0 ? kExitDone : kExitRefused;
}

}  // namespace pq::cli
