#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "export/ValueText.h"  // floatText, the form of every float the commands print

namespace pq::cli {

// Exit statuses of pqdesk-cli.
inline constexpr int kExitDone = 0;
inline constexpr int kExitUnexpected = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitRefused = 3;

// A malformed command line; main prints the text and the command's usage line and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Positional arguments and "--name value" options of one command.
class Arguments {
 public:
  // `valueOptions` are the options the command knows, `flags` those that take no value; anything
  // else is a usage error.
  Arguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
            const std::set<std::string>& flags = {});

  const std::vector<std::string>& positional() const { return positional_; }
  const std::string& positional(std::size_t index, const char* what) const;
  void expectPositionals(std::size_t count) const;

  std::optional<std::string> text(const std::string& name) const;
  std::string text(const std::string& name, const std::string& fallback) const;
  // Whole number within [minimum, maximum]; a usage error otherwise.
  std::optional<long long> integer(const std::string& name, long long minimum, long long maximum) const;
  std::optional<float> number(const std::string& name) const;
  bool flag(const std::string& name) const { return flags_.count(name) != 0; }

 private:
  std::vector<std::string> positional_;
  std::map<std::string, std::string> options_;
  std::set<std::string> flags_;
};

// The date-time of option `option` ("YYYY-MM-DD HH:MM:SS") in epoch seconds; nothing when it is not
// given, a usage error when it is no date-time.
std::optional<std::int64_t> timeOption(const Arguments& arguments, const char* option);

}  // namespace pq::cli
