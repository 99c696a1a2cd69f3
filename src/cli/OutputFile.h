#pragma once

#include <string>

namespace pq::cli {

// Writes a command-line output file whole or not at all (AtomicFile), replacing one that exists;
// false, with the path and the system's reason on stderr, when it cannot.
bool writeOutputFile(const std::string& path, const std::string& content);

}  // namespace pq::cli
