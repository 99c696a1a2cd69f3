// The instrument simulator: its answers byte for byte, and the program answering over a
// pseudo-terminal through the serial device as the live window uses it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <thread>
#include <vector>

#include "InstrumentAnswers.h"
#include "RequestScanner.h"
#include "records/InstrumentEncoding.h"
#include "serial/CommDevice.h"
#include "serial/platform/DeviceNames.h"
#include "support/PseudoTerminal.h"
#include "support/SimulatorProcess.h"

namespace pq::sim {
namespace {

using test::SimulatorProcess;
using test::waitUntil;
using namespace std::chrono_literals;

float valueAt(const std::vector<std::uint8_t>& answer, int index) {
  return decodeFloat(answer.data() + 32 + 4 * static_cast<std::size_t>(index));
}

float sampleAt(const std::vector<std::uint8_t>& answer, int index) {
  const std::size_t offset = 32 + 2 * static_cast<std::size_t>(index);
  return decodeSample(answer[offset], answer[offset + 1]);
}

TEST(CommSimulatorTest, MeasurementAnswerCarriesConsistentValues) {
  for (const int wiring : {1, 3}) {
    SCOPED_TRACE(wiring);
    InstrumentModel model({wiring, 350.0f, 40.0f, 7});
    const auto answer = measurementAnswer(model);
    ASSERT_EQ(answer.size(), 1853u);
    EXPECT_EQ(std::vector<std::uint8_t>(answer.begin(), answer.begin() + 5),
              (std::vector<std::uint8_t>{0xEB, 0x90, 0xEB, 0x90, 0x01}));
    EXPECT_EQ(answer[12], wiring);
    EXPECT_EQ(answer[1852], byteSum(answer, 1852));
    EXPECT_EQ(valueAt(answer, 0), 350.0f);
    EXPECT_EQ(valueAt(answer, 1), 40.0f);
    // Phase voltages near 57.7 V, line voltages near 100 V on the voltage channels in three-wire mode.
    const double expectedVoltage = wiring == 1 ? 57.7 : 100.0;
    for (int ch = 0; ch < 6; ++ch) {
      const double fundamental = valueAt(answer, liveValues::harmonic(ch, 0));
      double sumOfSquares = 0.0;
      for (int k = 1; k < 64; ++k) sumOfSquares += std::pow(valueAt(answer, liveValues::harmonic(ch, k)), 2);
      EXPECT_NEAR(valueAt(answer, liveValues::thd(ch)), std::sqrt(sumOfSquares) / fundamental * 100.0, 1e-3);
      const double rms =
          ch < 3 ? valueAt(answer, liveValues::uaRms + 3 * ch) : valueAt(answer, liveValues::iaRms + ch - 3);
      EXPECT_NEAR(rms, std::sqrt(fundamental * fundamental + sumOfSquares), 1e-3 * rms);
      if (ch < 3) {
        EXPECT_NEAR(fundamental, expectedVoltage, 0.03 * expectedVoltage);
      }
    }
    EXPECT_NEAR(valueAt(answer, liveValues::angleUaUb), 120.0, 0.5);
    EXPECT_NEAR(valueAt(answer, liveValues::angleUaUb + 1), 240.0, 0.5);
    EXPECT_NEAR(valueAt(answer, liveValues::frequency), 50.0, 0.1);
    EXPECT_LT(valueAt(answer, liveValues::voltageUnbalance), 2.0f);
    const double p = valueAt(answer, liveValues::activePowerA);
    const double q = valueAt(answer, liveValues::reactivePowerA);
    EXPECT_NEAR(valueAt(answer, liveValues::powerFactorA), p / std::hypot(p, q), 1e-4);
  }
}

TEST(CommSimulatorTest, WaveformAnswerHoldsOneCycleOfEachChannel) {
  InstrumentModel model({1, 100.0f, 20.0f, 3});
  const auto measurement = measurementAnswer(model);
  const auto answer = waveformAnswer(model);
  ASSERT_EQ(answer.size(), 1953u);
  EXPECT_EQ(answer[4], 0x02);
  EXPECT_EQ(answer[1952], byteSum(answer, 1952));
  for (int ch = 0; ch < 6; ++ch) {
    double sumOfSquares = 0.0;
    for (int n = 0; n < kSamplesPerChannel; ++n) sumOfSquares += std::pow(sampleAt(answer, ch * 160 + n), 2);
    const double rms = ch < 3 ? valueAt(measurement, liveValues::uaRms + 3 * ch)
                              : valueAt(measurement, liveValues::iaRms + ch - 3);
    EXPECT_NEAR(std::sqrt(sumOfSquares / kSamplesPerChannel), rms, 0.01 * rms) << ch;
  }
}

TEST(CommSimulatorTest, RequestsAreFoundAmongOtherBytes) {
  RequestScanner scanner;
  const std::vector<std::uint8_t> input = {0x00, 0xEB, 0x90, 0xEB, 0x90, 0x01, 0x01, 0xEB,
                                           0x90, 0x01, 0x03, 0xEB, 0x90, 0x01, 0x02};
  std::vector<Request> found;
  for (const auto byte : input) {
    if (const auto request = scanner.feed(byte)) found.push_back(*request);
  }
  EXPECT_EQ(found, (std::vector<Request>{Request::measurement, Request::waveform}));
}

std::vector<std::uint8_t> exchange(OstrelComm32::TCommDevice& device, std::uint8_t kind) {
  const std::uint8_t request[] = {0xEB, 0x90, 0x01, kind};
  EXPECT_EQ(device.WritePackage(request, 4), 4u);
  std::vector<std::uint8_t> answer(4000);
  unsigned long n = 0;
  waitUntil([&] { return (n = device.ReadPackage(answer.data(), answer.size())) > 0; }, 10s);
  answer.resize(n);
  return answer;
}

int uniquePortNumber() { return 20000 + static_cast<int>(::getpid() % 100000) * 4; }

TEST(CommSimulatorTest, SimulatorAnswersBothRequestsThroughTheDevice) {
  const int port = uniquePortNumber();
  SimulatorProcess simulator({"--port", std::to_string(port), "--baud", "115200", "--wiring", "3"});
  ASSERT_EQ(simulator.firstLine().rfind("/dev/pts/", 0), 0u) << simulator.firstLine();
  const std::string link = OstrelComm32::portLinkFolder() + "/COM" + std::to_string(port);
  EXPECT_EQ(std::filesystem::read_symlink(link).string(), simulator.firstLine());
  {
    OstrelComm32::TCommDevice device;
    device.SetPortNo(port);
    device.SetBaud(OstrelComm32::br9600);
    device.SetActive(true);
    device.SetPackageType(OstrelComm32::cptFrameTimeout);
    // A loaded test machine, slowed further by ThreadSanitizer, may hold the simulator up for
    // hundreds of milliseconds in the middle of an answer; only a much longer pause ends a package.
    device.SetPackageInterval(1500);
    device.SetUsePackage(true);

    const auto measurement = exchange(device, 0x01);
    ASSERT_EQ(measurement.size(), 1853u);
    EXPECT_EQ(measurement[4], 0x01);
    EXPECT_EQ(measurement[12], 3);
    EXPECT_EQ(valueAt(measurement, 0), 100.0f);
    const auto waveform = exchange(device, 0x02);
    ASSERT_EQ(waveform.size(), 1953u);
    EXPECT_EQ(waveform[1952], byteSum(waveform, 1952));
  }
  EXPECT_EQ(simulator.stop(), 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link))) << "the link goes with it";
}

TEST(CommSimulatorTest, FaultsCutAnswersAndSpoilChecksums) {
  const int port = uniquePortNumber() + 1;
  for (const char* fault : {"short", "bad-checksum"}) {
    SCOPED_TRACE(fault);
    SimulatorProcess simulator({"--port", std::to_string(port), "--baud", "115200", "--fault", fault});
    OstrelComm32::TCommDevice device;
    device.SetPortNo(port);
    device.SetActive(true);
    device.SetPackageType(OstrelComm32::cptFrameTimeout);
    // A loaded test machine, slowed further by ThreadSanitizer, may hold the simulator up for
    // hundreds of milliseconds in the middle of an answer; only a much longer pause ends a package.
    device.SetPackageInterval(1500);
    device.SetUsePackage(true);
    const auto waveform = exchange(device, 0x02);
    if (std::string(fault) == "short") {
      EXPECT_EQ(waveform.size(), 10u);
    } else {
      ASSERT_EQ(waveform.size(), 1953u);
      EXPECT_NE(waveform[1952], byteSum(waveform, 1952));
    }
  }
}

TEST(CommSimulatorTest, SilentSimulatorAnswersNothingAndNoisyOneSendsShortBursts) {
  const int port = uniquePortNumber() + 2;
  {
    SimulatorProcess simulator({"--port", std::to_string(port), "--baud", "115200", "--fault", "silent"});
    OstrelComm32::TCommDevice device;
    device.SetPortNo(port);
    device.SetActive(true);
    const std::uint8_t request[] = {0xEB, 0x90, 0x01, 0x01};
    device.Write(request, 4);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(device.InQueue().Count(), 0);
  }
  SimulatorProcess simulator({"--port", std::to_string(port), "--baud", "115200", "--fault", "noise"});
  OstrelComm32::TCommDevice device;
  device.SetPortNo(port);
  device.SetActive(true);
  EXPECT_TRUE(waitUntil([&] { return device.InQueue().Count() > 0; }, 5s)) << "noise without any request";
}

}  // namespace
}  // namespace pq::sim
