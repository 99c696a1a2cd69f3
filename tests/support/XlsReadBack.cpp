#include "support/XlsReadBack.h"

#include "support/ScriptReadBack.h"

namespace pq::test {

std::vector<std::string> readBack(const std::string& path) {
  return scriptLines(PQ_XLS_DUMP, path).value_or(std::vector<std::string>());
}

}  // namespace pq::test
