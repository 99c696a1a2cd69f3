#pragma once

#include "ui/Prompter.h"

namespace pq::ui {

// The Prompter of the running application: modal Qt message boxes and file dialogs.
class QtPrompter : public Prompter {
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
};

}  // namespace pq::ui
