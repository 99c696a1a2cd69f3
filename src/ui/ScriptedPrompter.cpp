#include "ui/ScriptedPrompter.h"

namespace pq::ui {

void ScriptedPrompter::showMessage(QWidget*, const QString& text) { record("message: " + text); }

void ScriptedPrompter::showWarning(QWidget*, const QString& caption, const QString& text) {
  record("warning: " + caption + ": " + text);
}

void ScriptedPrompter::showError(QWidget*, const QString& text) { record("error: " + text); }

bool ScriptedPrompter::askYesNo(QWidget*, const QString& caption, const QString& text) {
  const QString line = "question: " + caption + ": " + text;
  if (answers_.empty()) {
    record(line + " (unanswered)");
    return false;
  }
  const bool yes = answers_.front();
  answers_.pop_front();
  record(line);
  return yes;
}

QString ScriptedPrompter::chooseFileToOpen(QWidget*, const QString& caption, const QString&) {
  if (files_.empty()) {
    record("open: " + caption + " (unanswered)");
    return {};
  }
  const QString path = files_.front();
  files_.pop_front();
  record("open: " + caption);
  return path;
}

void ScriptedPrompter::record(const QString& line) {
  log.push_back(line);
  if (onShown) onShown();
}

}  // namespace pq::ui
