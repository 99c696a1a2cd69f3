#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <utility>

#include "ui/Prompter.h"

namespace pq::ui {

// A Prompter for tests: answers come from a script and every box is written to a log, one line
// each: "message: TEXT", "warning: CAPTION: TEXT", "error: TEXT", "question: CAPTION: TEXT",
// "open: CAPTION", "open several: CAPTION", "stop: CAPTION: TEXT", "information: CAPTION: TEXT", "save:
// PROPOSED NAME", "print dialog". A question or dialog without a scripted answer is logged with "
// (unanswered)" and answered No or Cancel.
class ScriptedPrompter : public Prompter {
 public:
  void showMessage(QWidget* parent, const QString& text) override;
  void showWarning(QWidget* parent, const QString& caption, const QString& text) override;
  void showError(QWidget* parent, const QString& text) override;
  bool askYesNo(QWidget* parent, const QString& caption, const QString& text) override;
  QString chooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) override;
  QStringList chooseFilesOrFolder(QWidget* parent, const QString& caption, const QString& filter) override;
  void showStop(QWidget* parent, const QString& caption, const QString& text) override;
  bool askOkCancel(QWidget* parent, const QString& caption, const QString& text) override;
  QString chooseFileToSave(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                           const QString& proposedName) override;
  bool runPrintDialog(QWidget* parent, QPrinter& printer, PageBounds pages) override;
  void showInformation(QWidget* parent, const QString& caption, const QString& text) override;

  // Answers Yes/No and OK/Cancel questions alike, in the order they come.
  void answerYesNo(bool yes) { answers_.push_back(yes); }
  // Answers open and save dialogs, in the order they come. An empty path cancels the dialog.
  void answerFile(const QString& path) { files_.push_back(path); }
  // Answers the dialogs that choose several files or a folder, in the order they come. An empty list
  // cancels the dialog.
  void answerFiles(const QStringList& paths) { fileLists_.push_back(paths); }
  // Answers the print dialog; `adjust` may change the printer as the operator would.
  void answerPrintDialog(bool confirm, std::function<void(QPrinter&)> adjust = {}) {
    printAnswers_.push_back({confirm, std::move(adjust)});
  }
  // Runs when a box is shown, after it is logged; lets a test look at a window while a box is open.
  std::function<void()> onShown;

  QStringList log;
  // The page bounds the last print dialog offered.
  PageBounds printDialogPages;
  // The filter and default suffix the last save dialog offered.
  QString saveFilter, saveSuffix;

 private:
  void record(const QString& line);

  bool nextAnswer(const QString& line);
  QString nextFile(const QString& line);

  struct PrintAnswer {
    bool confirm;
    std::function<void(QPrinter&)> adjust;
  };
  std::deque<bool> answers_;
  std::deque<QString> files_;
  std::deque<QStringList> fileLists_;
  std::deque<PrintAnswer> printAnswers_;
};

}  // namespace pq::ui
