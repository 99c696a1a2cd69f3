#include <iostream>

#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ImportToConsole.h"
#include "records/BatchDelete.h"
#include "records/RecordFileWriter.h"

namespace pq::cli {

int runDelete(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"first", "count"});
  const std::string& path = arguments.positional(0, "record file");
  arguments.expectPositionals(1);
  constexpr long long kLargest = 1LL << 40;
  const auto first = arguments.integer("first", -kLargest, kLargest);
  if (!first) throw UsageError("missing --first");
  const long long count = arguments.integer("count", -kLargest, kLargest).value_or(1);

  RecordStore store;
  const ImportResult result = importToConsole(store, path);
  if (result != ImportResult::Completed) return kExitRefused;

  const BatchDeletePlan plan = planBatchDelete(*first, *first + count - 1, store.recordCount());
  if (plan.refused()) {
    std::cerr << plan.refusal << '\n';
    return kExitRefused;
  }
  store.deleteRange(plan.first, plan.count);
  if (std::string failure; !rewriteRecordFile(store, &failure)) {
    std::cerr << failure << '\n';
    return kExitRefused;
  }
  std::cout << store.recordCount() << std::endl;
  return kExitDone;
}

}  // namespace pq::cli
