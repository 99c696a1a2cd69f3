// The live window against the instrument simulator on a pseudo-terminal. Time is driven by calling
// the tick handler; between ticks the line gets the time an answer needs.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAccessible>
#include <QCheckBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "InstrumentAnswers.h"
#include "charts/ui/PhasorDiagramWidget.h"
#include "charts/ui/SpectrumChart.h"
#include "live/LiveSpectrum.h"
#include "live/ui/LiveDataWindow.h"
#include "live/ui/LiveSpectrumPage.h"
#include "live/ui/LiveWaveformChart.h"
#include "live/ui/LiveWaveformPage.h"
#include "support/SimulatorProcess.h"
#include "support/ui/ScriptedPrompter.h"

namespace pq::live {
namespace {

using namespace std::chrono_literals;
using test::SimulatorProcess;

class LiveDataWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<TForm10> open(LivePage page) {
    TForm10::Options options;
    options.portNo = port;
    options.polling = &polling;
    options.settingsDialog = [this](OstrelComm32::TCommDevice&, QWidget*) {
      ++settingsDialogs;
      return settingsDialogAnswer;
    };
    auto window = std::make_unique<TForm10>(page, prompter, nullptr, options);
    window->Timer1().stop();
    // A loaded test machine under the sanitizers may hold the simulator up mid-answer for longer
    // than the instrument's 50 ms pause would allow.
    window->CommDevice1().SetPackageInterval(300);
    window->show();
    return window;
  }

  SimulatorProcess simulator(std::vector<std::string> args) {
    args.insert(args.end(), {"--port", std::to_string(port), "--baud", "115200"});
    return SimulatorProcess(args);
  }

  // Ticks until the condition holds or `ticks` ticks went by, waiting `pause` after each tick.
  static bool tickUntil(TForm10& window, const std::function<bool()>& condition, int ticks,
                        std::chrono::milliseconds pause = 400ms) {
    for (int i = 0; i < ticks; ++i) {
      window.Timer1Timer();
      if (condition()) return true;
      QTest::qWait(static_cast<int>(pause.count()));
    }
    return condition();
  }

  static QString cell(TForm10& window, int row, int column) {
    return window.StringGrid1().model()->index(row, column).data().toString();
  }

  const int port = 30000 + static_cast<int>(::getpid() % 100000) * 8;
  ui::ScriptedPrompter prompter;
  LivePolling polling;
  int settingsDialogs = 0;
  bool settingsDialogAnswer = false;
};

TEST_F(LiveDataWindowTest, ShowsTheSimulatorsValuesWithinTwoPollingCycles) {
  auto sim = simulator({"--wiring", "3", "--pt", "350", "--ct", "40", "--seed", "5"});
  auto window = open(LivePage::values);
  EXPECT_EQ(window->windowTitle(), "实时数据");
  EXPECT_EQ(cell(*window, 0, 0), " 数据名称");
  EXPECT_EQ(cell(*window, 1, 1), "");
  ASSERT_TRUE(tickUntil(
      *window, [&] { return !cell(*window, 1, 1).isEmpty(); }, 8));
  EXPECT_EQ(window->statusText(0), "串口通信正常");

  // The simulator's first answer: its model one step on.
  sim::InstrumentModel model({3, 350.0f, 40.0f, 5});
  model.step();
  const auto answer = sim::measurementAnswer(model);
  LiveTable expected;
  expected.fill(
      decodeMeasurement(std::span<const std::uint8_t, kMeasurementAnswerSize>(answer.data(), answer.size())),
      LiveDataMode::secondary);
  for (int row = 0; row < LiveTable::kRows; ++row) {
    for (int column = 0; column < LiveTable::kColumns; ++column) {
      ASSERT_EQ(cell(*window, row, column).toStdString(), expected.text(row, column)) << row << "," << column;
    }
  }
  EXPECT_EQ(cell(*window, 1, 1), "三相三线");
  EXPECT_EQ(cell(*window, 2, 1), "350.000");
  EXPECT_EQ(window->waveformPage().distortionBox(0).text().toStdString(),
            thdBoxText(polling.measurement(), 0));

  // Screen readers get the cells' texts.
  QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&window->StringGrid1());
  ASSERT_NE(grid, nullptr);
  ASSERT_NE(grid->tableInterface(), nullptr);
  EXPECT_EQ(grid->tableInterface()->cellAt(2, 1)->text(QAccessible::Name), "350.000");

  // Primary values from the next answer on.
  window->RadioButton2().setChecked(true);
  const QString before = cell(*window, 6, 1);
  EXPECT_TRUE(before.endsWith(" V"));
  ASSERT_TRUE(tickUntil(
      *window, [&] { return cell(*window, 6, 1).endsWith(" kV"); }, 16));
  EXPECT_EQ(cell(*window, 18, 1).right(2), " A");
}

// A 220 kV line's primary values ("126.691kV(219.429kV)", "1566037.6kW") are the longest texts.
TEST_F(LiveDataWindowTest, PrimaryValuesOfAHighVoltageLineAreNotCutOff) {
  auto sim = simulator({"--wiring", "1", "--pt", "2200", "--ct", "3000", "--seed", "5"});
  auto window = open(LivePage::values);
  window->RadioButton2().setChecked(true);
  ASSERT_TRUE(tickUntil(
      *window, [&] { return cell(*window, 6, 1).endsWith(" kV"); }, 16));
  const QTableView& view = window->StringGrid1();
  for (int row = 0; row < LiveTable::kRows; ++row) {
    for (int column = 0; column < LiveTable::kColumns; ++column) {
      const QString text = cell(*window, row, column);
      EXPECT_LE(view.fontMetrics().horizontalAdvance(text) + 6, view.columnWidth(column))
          << row << "," << column << " " << text.toStdString();
    }
  }
}

TEST_F(LiveDataWindowTest, WaveformsAndPhasorsOnTheWaveformPageAndAWrongChecksumChangesNothing) {
  {
    auto sim = simulator({});
    auto window = open(LivePage::waveform);
    LiveWaveformChart& chart = window->waveformPage().chart();
    EXPECT_EQ(chart.yAxis->range().upper, 3.0) << "opening on the page resets it";
    window->waveformPage().channelBox(4).setChecked(false);
    ASSERT_TRUE(tickUntil(
        *window, [&] { return chart.graph(0)->dataCount() == 160 && chart.yAxis->range().upper > 50; }, 12));
    EXPECT_FALSE(chart.graph(4)->visible());
    EXPECT_EQ(chart.graph(4)->dataCount(), 0);
    EXPECT_TRUE(chart.graph(5)->visible());
    EXPECT_EQ(chart.graph(0)->name(), "Ua波形");

    // Another page and back: Ua ticked again, flat lines until the next answer.
    window->waveformPage().channelBox(0).setChecked(false);
    window->PageControl1().setCurrentIndex(0);
    window->PageControl1().setCurrentIndex(1);
    EXPECT_TRUE(window->waveformPage().channelBox(0).isChecked());
    EXPECT_FALSE(window->waveformPage().channelBox(4).isChecked());
    EXPECT_EQ(chart.yAxis->range().upper, 3.0);
  }
  {
    auto sim = simulator({"--fault", "bad-checksum"});
    auto window = open(LivePage::waveform);
    LiveWaveformChart& chart = window->waveformPage().chart();
    // Two cycles: a waveform and a measurement answer; only the measurement is taken.
    ASSERT_TRUE(tickUntil(
        *window, [&] { return !window->waveformPage().distortionBox(0).text().isEmpty(); }, 24));
    tickUntil(
        *window, [] { return false; }, 4);
    EXPECT_EQ(chart.yAxis->range().upper, 3.0);
    for (int i = 0; i < chart.graph(0)->dataCount(); ++i)
      EXPECT_EQ(chart.graph(0)->data()->at(i)->value, 0.0);
  }
}

TEST_F(LiveDataWindowTest, SpectraFollowTheAnswersWhileTheirPageIsShown) {
  auto sim = simulator({});
  auto window = open(LivePage::spectrum);
  history::SpectrumChart& ua = window->spectrumPage().chart(0);
  EXPECT_EQ(ua.titleText(), "Ua  频谱分析       THD_Ua=00.00% ") << "selecting the page draws what is known";
  ASSERT_TRUE(tickUntil(
      *window, [&] { return !ua.barHeights().isEmpty() && ua.barHeights()[0] == 100.0; }, 8));
  EXPECT_EQ(ua.barHeights().size(), 64);
  EXPECT_EQ(ua.titleText().toStdString(), liveSpectrumTitle(polling.measurement(), 0));
  EXPECT_NE(ua.titleText(), "Ua  频谱分析       THD_Ua=00.00% ");
}

TEST_F(LiveDataWindowTest, SilenceShowsTheLinkErrorAfterElevenTicks) {
  auto sim = simulator({"--fault", "silent"});
  auto window = open(LivePage::values);
  for (int tick = 1; tick <= 10; ++tick) window->Timer1Timer();
  EXPECT_EQ(window->statusText(0), "");
  window->Timer1Timer();
  EXPECT_EQ(window->statusText(0), "串口错误，请检查接线或更换其它串口。");
}

TEST_F(LiveDataWindowTest, ShortAnswersAndNoiseShowNoWrongValues) {
  {
    auto sim = simulator({"--fault", "short"});
    auto window = open(LivePage::values);
    tickUntil(
        *window, [] { return false; }, 12, 200ms);
    EXPECT_EQ(cell(*window, 2, 1), "") << "ten-byte answers are no answers";
    EXPECT_EQ(window->statusText(0), "串口错误，请检查接线或更换其它串口。");
  }
  {
    auto sim = simulator({"--fault", "noise"});
    auto window = open(LivePage::waveform);
    tickUntil(
        *window, [] { return false; }, 12, 300ms);
    // Whatever came through is a whole answer of the simulator's model.
    if (!cell(*window, 2, 1).isEmpty()) {
      EXPECT_EQ(cell(*window, 1, 1), "三相四线");
      EXPECT_EQ(cell(*window, 2, 1), "100.000");
      EXPECT_EQ(cell(*window, 3, 1), "20.000");
    }
  }
}

TEST_F(LiveDataWindowTest, ValuesComeBackWhenTheSimulatorIsRestartedOnTheSameLink) {
  auto first = simulator({"--seed", "1"});
  auto window = open(LivePage::values);
  ASSERT_TRUE(tickUntil(
      *window, [&] { return window->statusText(0) == "串口通信正常"; }, 8));
  first.stop();
  // The device is gone: silence, and attempts to open it again that fail quietly.
  ASSERT_TRUE(tickUntil(
      *window, [&] { return window->statusText(0).startsWith("串口错误"); }, 12, 10ms));
  tickUntil(
      *window, [] { return false; }, 6, 10ms);
  EXPECT_TRUE(prompter.log.isEmpty());

  auto second = simulator({"--seed", "2", "--pt", "123"});
  ASSERT_TRUE(tickUntil(
      *window, [&] { return cell(*window, 2, 1) == "123.000"; }, 20));
  EXPECT_EQ(window->statusText(0), "串口通信正常");
}

TEST_F(LiveDataWindowTest, AFailedOpenOffersTheSettingsAndTheirCancelEndsTheProgram) {
  for (const bool answer : {false, true}) {
    settingsDialogAnswer = answer;
    settingsDialogs = 0;
    prompter.log.clear();
    TForm10::Options options;
    options.portNo = port + 1;  // nothing there
    options.polling = &polling;
    options.settingsDialog = [this](OstrelComm32::TCommDevice&, QWidget*) {
      ++settingsDialogs;
      return settingsDialogAnswer;
    };
    TForm10 window(LivePage::values, prompter, nullptr, options);
    ASSERT_EQ(prompter.log.size(), 1);
    EXPECT_TRUE(prompter.log[0].startsWith("message: CommDevice1: ")) << prompter.log[0].toStdString();
    EXPECT_EQ(settingsDialogs, 1);
    EXPECT_EQ(window.endsProgram(), !answer);
    EXPECT_EQ(window.Timer1().isActive(), answer);
  }
}

TEST_F(LiveDataWindowTest, PauseAndContinue) {
  auto sim = simulator({});
  auto window = open(LivePage::values);
  window->Btn_ContinueClick();
  EXPECT_TRUE(window->Timer1().isActive());
  EXPECT_EQ(window->Timer1().interval(), 600);
  EXPECT_EQ(window->statusText(1), "显示正常刷新... ... ");
  window->Btn_PauseClick();
  EXPECT_FALSE(window->Timer1().isActive());
  EXPECT_EQ(window->statusText(1), "显示暂停,按【继续】 刷新");
}

TEST_F(LiveDataWindowTest, TheCountersCarryOverToTheNextOpening) {
  auto sim = simulator({"--fault", "silent"});
  {
    auto window = open(LivePage::values);
    for (int tick = 0; tick < 3; ++tick) window->Timer1Timer();
  }
  EXPECT_EQ(polling.tickCounter(), 3);
  auto window = open(LivePage::values);
  window->Timer1Timer();
  EXPECT_EQ(polling.tickCounter(), 4);
  EXPECT_EQ(polling.silenceCounter(), 4);
}

}  // namespace
}  // namespace pq::live
