#include "serial/CommSerialPortInfo.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>

#include "serial/platform/DeviceNames.h"

namespace pq::OstrelComm32 {

namespace fs = std::filesystem;

namespace {

// The kernel creates ttyS entries for every possible legacy UART; type 0 says none is there.
bool hasUart(const fs::path& entry) {
  std::ifstream typeFile(entry / "type");
  int type = 0;
  return typeFile >> type && type != 0;
}

}  // namespace

TCommSerialPortInfo::TCommSerialPortInfo() : TCommSerialPortInfo("/sys/class/tty", portLinkFolder()) {}

TCommSerialPortInfo::TCommSerialPortInfo(std::string ttyClassFolder, std::string linkFolder)
    : ttyClassFolder_(std::move(ttyClassFolder)), linkFolder_(std::move(linkFolder)) {
  Refresh();
}

void TCommSerialPortInfo::Refresh() {
  ports_.clear();
  fromSystem_ = false;
  ListFromSystem();
  if (ports_.empty()) {
    ports_ = {"COM1", "COM2", "COM3", "COM4"};
    fromSystem_ = false;
  }
}

void TCommSerialPortInfo::ListFromSystem() {
  std::error_code error;
  fs::directory_iterator ttys(ttyClassFolder_, error);
  if (error) return;
  std::vector<int> numbers;
  for (const auto& entry : ttys) {
    const std::string name = entry.path().filename().string();
    const auto number = portOfSystemDevice(name);
    if (!number || !fs::exists(entry.path() / "device", error)) continue;
    if (name.rfind("ttyS", 0) == 0 && !hasUart(entry.path())) continue;
    numbers.push_back(*number);
  }
  for (const auto& entry : fs::directory_iterator(linkFolder_, error)) {
    if (const int number = PortNo(entry.path().filename().string()); number > 0) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  for (const int number : numbers) ports_.push_back(PortName(number));
  std::sort(ports_.begin(), ports_.end(),
            [](const std::string& a, const std::string& b) { return PortNo(a) < PortNo(b); });
  fromSystem_ = true;
}

int TCommSerialPortInfo::PortNo(const std::string& name) {
  if (name.size() < 3) return 0;
  std::string prefix = name.substr(0, 3);
  std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (prefix != "COM") return 0;
  int number = 0;
  const char* begin = name.data() + 3;
  const char* end = name.data() + name.size();
  const auto [last, ec] = std::from_chars(begin, end, number);
  if (ec != std::errc() || last != end || number < 1) return 0;
  return number;
}

std::string TCommSerialPortInfo::PortName(int number) { return "COM" + std::to_string(number); }

int TCommSerialPortInfo::PortListSortCompare(const std::vector<std::string>& list, int i, int j) {
  return PortNo(list[static_cast<std::size_t>(i)]) - PortNo(list[static_cast<std::size_t>(j)]);
}

}  // namespace pq::OstrelComm32
