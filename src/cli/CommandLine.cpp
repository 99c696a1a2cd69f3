#include "cli/CommandLine.h"

#include <charconv>
#include <cmath>

#include "base/ConversionError.h"
#include "timerange/EpochSeconds.h"

namespace pq::cli {

Arguments::Arguments(const std::vector<std::string>& args, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flags) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
      std::string name = arg.substr(2);
      if (flags.count(name) != 0) {
        flags_.insert(name);
        continue;
      }
      std::string value;
      const auto equals = name.find('=');
      if (equals != std::string::npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
      } else {
        if (i + 1 >= args.size()) throw UsageError("option --" + name + " needs a value");
        value = args[++i];
      }
      if (flags.count(name) != 0) throw UsageError("option --" + name + " takes no value");
      if (valueOptions.count(name) == 0) throw UsageError("unknown option --" + name);
      options_[name] = value;
    } else {
      positional_.push_back(arg);
    }
  }
}

const std::string& Arguments::positional(std::size_t index, const char* what) const {
  if (index >= positional_.size()) throw UsageError(std::string("missing ") + what);
  return positional_[index];
}

void Arguments::expectPositionals(std::size_t count) const {
  if (positional_.size() > count) throw UsageError("unexpected argument " + positional_[count]);
}

std::optional<std::string> Arguments::text(const std::string& name) const {
  const auto it = options_.find(name);
  if (it == options_.end()) return std::nullopt;
  return it->second;
}

std::string Arguments::text(const std::string& name, const std::string& fallback) const {
  return text(name).value_or(fallback);
}

std::optional<long long> Arguments::integer(const std::string& name, long long minimum,
                                            long long maximum) const {
  const auto value = text(name);
  if (!value) return std::nullopt;
  long long result = 0;
  const auto [end, ec] = std::from_chars(value->data(), value->data() + value->size(), result);
  if (ec != std::errc() || end != value->data() + value->size() || result < minimum || result > maximum) {
    throw UsageError("--" + name + " takes a whole number from " + std::to_string(minimum) + " to " +
                     std::to_string(maximum));
  }
  return result;
}

std::optional<float> Arguments::number(const std::string& name) const {
  const auto value = text(name);
  if (!value) return std::nullopt;
  float result = 0;
  const auto [end, ec] = std::from_chars(value->data(), value->data() + value->size(), result);
  if (ec != std::errc() || end != value->data() + value->size() || !std::isfinite(result)) {
    throw UsageError("--" + name + " takes a number");
  }
  return result;
}

std::optional<std::int64_t> timeOption(const Arguments& arguments, const char* option) {
  const auto text = arguments.text(option);
  if (!text) return std::nullopt;
  try {
    return epochSeconds(CalendarDateTime::parse(*text));
  } catch (const ConversionError&) {
    throw UsageError(std::string("--") + option + " must be a date-time \"YYYY-MM-DD HH:MM:SS\"");
  }
}

}  // namespace pq::cli
