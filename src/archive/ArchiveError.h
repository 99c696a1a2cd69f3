#pragma once

#include <stdexcept>

namespace pq::archive {

// The archive cannot be opened, read or written; the text is the operator's message with the reason.
class ArchiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace pq::archive
