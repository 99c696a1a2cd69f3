#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

#include "ui/Prompter.h"

namespace pq::ui {

// A Prompter for tests: answers come from a script and every box is written to a log, one line
// each: "message: TEXT", "warning: CAPTION: TEXT", "error: TEXT", "question: CAPTION: TEXT",
// "open: CAPTION". A question or file dialog without a scripted answer is logged with
// " (unanswered)" and answered No or Cancel.
class ScriptedPrompter : public Prompter {
 public:
  void showMessage(QWidget* parent, const QString& text) override;
  void showWarning(QWidget* parent, const QString& caption, const QString& text) override;
  void showError(QWidget* parent, const QString& text) override;
  bool askYesNo(QWidget* parent, const QString& caption, const QString& text) override;
  QString chooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) override;

  void answerYesNo(bool yes) { answers_.push_back(yes); }
  // An empty path cancels the dialog.
  void answerFile(const QString& path) { files_.push_back(path); }
  // Runs when a box is shown, after it is logged; lets a test look at a window while a box is open.
  std::function<void()> onShown;

  QStringList log;

 private:
  void record(const QString& line);

  std::deque<bool> answers_;
  std::deque<QString> files_;
};

}  // namespace pq::ui
