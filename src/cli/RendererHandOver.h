#pragma once

#include <string>
#include <vector>

namespace pq::cli {

// --pdf and --png draw the page with Qt. The plain pqdesk-cli does not link Qt, so every other
// command starts without loading its libraries; where the build has Qt, a report command that asks
// for a picture is handed, whole, to the Qt-linked twin pqdesk-cli-render beside it. Called with
// the report command's arguments before anything is done: returns when this process itself is to
// run the command, replaces the process otherwise, and throws when the twin cannot be started.
void handOverToRenderer(const std::vector<std::string>& reportArgs);

}  // namespace pq::cli
