#include "survey/ui/SurveyProgressWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "support/ui/UiTestSupport.h"

namespace pq {
namespace {

using test::child;

// Stands in for openSurvey on the worker thread: reports as a survey of three files would, then
// waits to be let go or cancelled, so that a test can look at the window while the survey "opens".
struct FakeOpening {
  std::optional<AssessedSurvey> operator()(SurveyListener& listener) {
    worker = std::this_thread::get_id();
    listener.fileStarted(1, 3, "/survey/2010-04-20.bin");
    listener.progress(0.375, 0.4583);
    while (!release) {
      if (listener.cancelRequested()) {
        sawCancel = true;
        return std::nullopt;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    if (throwAtEnd) throw std::invalid_argument("无电压");
    AssessedSurvey opened;
    opened.survey.files.push_back({"/survey/2010-04-20.bin", 1437, 3, 0, {}, {}, 60, {}});
    return opened;
  }

  std::atomic<bool> release = false;
  std::atomic<bool> sawCancel = false;
  bool throwAtEnd = false;
  std::thread::id worker;
};

TEST(SurveyProgressWindowTest, ShowsTheFileAndBothSharesWhileTheSurveyOpensOnAnotherThread) {
  FakeOpening opening;
  bool looked = false;
  test::whenModalShown<SurveyProgressWindow>([&](SurveyProgressWindow& window) {
    looked = true;
    // The worker's calls arrive through the event loop, which this wait keeps turning.
    EXPECT_TRUE(QTest::qWaitFor([&] { return child<QProgressBar>(window, "totalBar").value() == 458; }));
    EXPECT_EQ(child<QLabel>(window, "fileLabel").text(), "文件 2 / 3：2010-04-20.bin");
    EXPECT_EQ(child<QProgressBar>(window, "fileBar").value(), 375);
    EXPECT_TRUE(child<QPushButton>(window, "cancelButton").isEnabled());
    opening.release = true;
  });
  SurveyProgressWindow window([&](SurveyListener& listener) { return opening(listener); });
  const std::optional<AssessedSurvey> opened = window.run();
  EXPECT_TRUE(looked);
  EXPECT_NE(opening.worker, std::this_thread::get_id());
  ASSERT_TRUE(opened.has_value());
  ASSERT_EQ(opened->survey.files.size(), 1u);
  EXPECT_EQ(opened->survey.files[0].records, 1437);
  EXPECT_FALSE(window.isVisible());
}

TEST(SurveyProgressWindowTest, EveryWayOfClosingCancelsAndTheWindowWaitsForTheSurveyToStop) {
  const struct {
    const char* way;
    std::function<void(SurveyProgressWindow&)> close;
  } ways[] = {
      {"cancel button",
       [](SurveyProgressWindow& w) {
         QTest::mouseClick(&child<QPushButton>(w, "cancelButton"), Qt::LeftButton);
       }},
      {"Esc", [](SurveyProgressWindow& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
      {"close box", [](SurveyProgressWindow& w) { w.close(); }},
  };
  for (const auto& way : ways) {
    FakeOpening opening;
    bool stillOpen = false;
    test::whenModalShown<SurveyProgressWindow>([&](SurveyProgressWindow& window) {
      EXPECT_TRUE(QTest::qWaitFor([&] { return !child<QLabel>(window, "fileLabel").text().isEmpty(); }));
      way.close(window);
      // Until the survey has seen the cancel, the window stays and says it is cancelling.
      stillOpen = window.isVisible() && !child<QPushButton>(window, "cancelButton").isEnabled() &&
                  child<QPushButton>(window, "cancelButton").text() == "正在取消…";
    });
    SurveyProgressWindow window([&](SurveyListener& listener) { return opening(listener); });
    EXPECT_FALSE(window.run().has_value()) << way.way;
    EXPECT_TRUE(stillOpen) << way.way;
    EXPECT_TRUE(opening.sawCancel) << way.way;
  }
}

TEST(SurveyProgressWindowTest, WhatTheSurveyThrowsIsThrownOnTheWindowsThread) {
  FakeOpening opening;
  opening.release = true;
  opening.throwAtEnd = true;
  SurveyProgressWindow window([&](SurveyListener& listener) { return opening(listener); });
  EXPECT_THROW(window.run(), std::invalid_argument);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace pq
