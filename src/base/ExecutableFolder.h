#pragma once

#include <filesystem>

namespace pq {

// The folder of the running executable, where the program keeps its companions (the user database,
// the port links, the helper programs); the current folder when /proc cannot say.
std::filesystem::path executableFolder();

}  // namespace pq
