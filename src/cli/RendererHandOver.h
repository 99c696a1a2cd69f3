#pragma once

#include <string>
#include <vector>

namespace pq::cli {

// --pdf and --png draw pages with Qt. The plain pqdesk-cli does not link Qt, so that every other
// command starts without loading its libraries; where the build has Qt, a command that asks for
// --pdf or --png is handed, whole, to the Qt-linked twin pqdesk-cli-render beside it. Called by
// main before the command runs: returns when this process itself is to run it, replaces the
// process otherwise, and throws when the twin cannot be started.
void handOverToRenderer(const std::string& command, const std::vector<std::string>& args);

}  // namespace pq::cli
