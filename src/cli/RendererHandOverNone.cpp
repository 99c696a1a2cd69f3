#include "cli/RendererHandOver.h"

namespace pq::cli {

// The twin itself, or a build without Qt: the command runs here.
void handOverToRenderer(const std::string&, const std::vector<std::string>&) {}

}  // namespace pq::cli
