#include "base/FileSizeSignal.h"

#include <csignal>

namespace pq {

void ignoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace pq
