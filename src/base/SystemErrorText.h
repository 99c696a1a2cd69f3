#pragma once

#include <string>

namespace pq {

// The system's reason for a refused file operation, for messages shown in Chinese: the common
// reasons in Chinese with the system's own text after them in brackets ("没有权限（Permission
// denied）"), so that a report to the vendor still carries it; any other reason as the system gives it.
std::string systemErrorText(int errorNumber);

}  // namespace pq
