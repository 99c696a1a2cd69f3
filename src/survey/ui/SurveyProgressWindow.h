#pragma once

#include <QDialog>
#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <thread>

#include "survey/SurveyAssessment.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace pq {

// The window "正在打开测量任务": the file being read (its name, n of m) and the share done of it and of
// the whole survey, with a cancel button. The survey opens on a thread of its own, so that the window
// keeps drawing and the button answers; the window is modal, which keeps every other window off the
// record store meanwhile, and it closes only once that thread has ended.
class SurveyProgressWindow : public QDialog {
  Q_OBJECT

 public:
  // Opens the survey, reporting to the listener it is given; called on the worker thread.
  using Opener = std::function<std::optional<AssessedSurvey>(SurveyListener&)>;

  SurveyProgressWindow(Opener open, QWidget* parent = nullptr);
  ~SurveyProgressWindow() override;

  // Shows the window until the survey has opened, was cancelled or failed: the survey, nothing when
  // cancelled, or what the opener threw, thrown again here.
  std::optional<AssessedSurvey> run();

  // Closing the window in any way while the survey opens cancels it; the window then waits for it.
  void done(int result) override;

 private:
  class Listener;

  void showFile(int index, int count, const QString& path);
  void showProgress(double ofFile, double ofSurvey);
  void finish();

  Opener open_;
  std::atomic<bool> cancel_ = false;
  bool finished_ = false;
  std::optional<AssessedSurvey> survey_;
  std::exception_ptr failure_;
  std::thread worker_;

  QLabel* fileLabel_;
  QProgressBar* fileBar_;
  QLabel* totalLabel_;
  QProgressBar* totalBar_;
  QPushButton* cancelButton_;
};

}  // namespace pq
