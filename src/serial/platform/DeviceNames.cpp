#include "serial/platform/DeviceNames.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <string_view>

#include "base/ExecutableFolder.h"

namespace pq::OstrelComm32 {

namespace {

struct DeviceFamily {
  std::string_view prefix;
  int firstPort;
};

constexpr int kPortsPerFamily = 100;
constexpr std::array<DeviceFamily, 3> kFamilies{{{"ttyS", 1}, {"ttyUSB", 101}, {"ttyACM", 201}}};

std::optional<int> parseNumber(std::string_view text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int> portNumberOfDeviceName(const std::string& deviceName) {
  constexpr std::string_view prefix = "\\\\.\\COM";
  if (deviceName.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const auto number = parseNumber(std::string_view(deviceName).substr(prefix.size()));
  if (!number || *number < 1) return std::nullopt;
  return number;
}

std::string portLinkFolder() { return (executableFolder() / "ports").string(); }

std::optional<std::string> systemDeviceOfPort(int number) {
  for (const auto& family : kFamilies) {
    if (number >= family.firstPort && number < family.firstPort + kPortsPerFamily) {
      return "/dev/" + std::string(family.prefix) + std::to_string(number - family.firstPort);
    }
  }
  return std::nullopt;
}

std::optional<int> portOfSystemDevice(const std::string& deviceName) {
  for (const auto& family : kFamilies) {
    if (deviceName.compare(0, family.prefix.size(), family.prefix) != 0) continue;
    const auto index = parseNumber(std::string_view(deviceName).substr(family.prefix.size()));
    if (index && *index >= 0 && *index < kPortsPerFamily) return family.firstPort + *index;
  }
  return std::nullopt;
}

std::string resolveDeviceName(const std::string& deviceName) {
  const auto number = portNumberOfDeviceName(deviceName);
  if (!number) return deviceName;
  const std::string link = portLinkFolder() + "/COM" + std::to_string(*number);
  // A dangling link still names the port: its open fails instead of reaching another device.
  std::error_code error;
  if (std::filesystem::symlink_status(link, error).type() != std::filesystem::file_type::not_found) {
    return link;
  }
  // A number outside the families names no device: the open fails as for a missing port.
  return systemDeviceOfPort(*number).value_or(link);
}

}  // namespace pq::OstrelComm32
