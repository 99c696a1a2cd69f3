#include <iostream>
#include <string>
#include <vector>

#include "base/FileSizeSignal.h"
#include "cli/Dispatcher.h"

int main(int argc, char** argv) {
  pq::ignoreFileSizeSignal();
  std::ios::sync_with_stdio(false);
  return pq::cli::runCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
