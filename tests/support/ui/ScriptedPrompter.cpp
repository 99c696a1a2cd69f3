#include "support/ui/ScriptedPrompter.h"

namespace pq::ui {

void ScriptedPrompter::showMessage(QWidget*, const QString& text) { record("message: " + text); }

void ScriptedPrompter::showWarning(QWidget*, const QString& caption, const QString& text) {
  record("warning: " + caption + ": " + text);
}

void ScriptedPrompter::showError(QWidget*, const QString& text) { record("error: " + text); }

void ScriptedPrompter::showStop(QWidget*, const QString& caption, const QString& text) {
  record("stop: " + caption + ": " + text);
}

bool ScriptedPrompter::askYesNo(QWidget*, const QString& caption, const QString& text) {
  return nextAnswer("question: " + caption + ": " + text);
}

bool ScriptedPrompter::askOkCancel(QWidget*, const QString& caption, const QString& text) {
  return nextAnswer("question: " + caption + ": " + text);
}

QString ScriptedPrompter::chooseFileToOpen(QWidget*, const QString& caption, const QString&) {
  return nextFile("open: " + caption);
}

QStringList ScriptedPrompter::chooseFilesOrFolder(QWidget*, const QString& caption, const QString&) {
  const QString line = "open several: " + caption;
  if (fileLists_.empty()) {
    record(line + " (unanswered)");
    return {};
  }
  const QStringList paths = fileLists_.front();
  fileLists_.pop_front();
  record(line);
  return paths;
}

QString ScriptedPrompter::chooseFileToSave(QWidget*, const QString& filter, const QString& defaultSuffix,
                                           const QString& proposedName) {
  saveFilter = filter;
  saveSuffix = defaultSuffix;
  return nextFile("save: " + proposedName);
}

void ScriptedPrompter::showInformation(QWidget*, const QString& caption, const QString& text) {
  record("information: " + caption + ": " + text);
}

bool ScriptedPrompter::runPrintDialog(QWidget*, QPrinter& printer, PageBounds pages) {
  printDialogPages = pages;
  const QString line = QStringLiteral("print dialog");
  if (printAnswers_.empty()) {
    record(line + " (unanswered)");
    return false;
  }
  PrintAnswer answer = std::move(printAnswers_.front());
  printAnswers_.pop_front();
  if (answer.adjust) answer.adjust(printer);
  record(line);
  return answer.confirm;
}

bool ScriptedPrompter::nextAnswer(const QString& line) {
  if (answers_.empty()) {
    record(line + " (unanswered)");
    return false;
  }
  const bool yes = answers_.front();
  answers_.pop_front();
  record(line);
  return yes;
}

QString ScriptedPrompter::nextFile(const QString& line) {
  if (files_.empty()) {
    record(line + " (unanswered)");
    return {};
  }
  const QString path = files_.front();
  files_.pop_front();
  record(line);
  return path;
}

void ScriptedPrompter::record(const QString& line) {
  log.push_back(line);
  if (onShown) onShown();
}

}  // namespace pq::ui
