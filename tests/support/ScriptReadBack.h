#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pq::test {

// The lines that a Python script of tests/support prints about a file, run by Debian's own
// interpreter (which has the readers that scripts/install-deps.sh installs) whatever else is first
// on the PATH. Nothing when the script exits with 77: its reader is not installed, and the test
// then skips.
std::optional<std::vector<std::string>> scriptLines(const char* script, const std::string& path);

}  // namespace pq::test
