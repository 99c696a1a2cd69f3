#pragma once

#include "ui/Prompter.h"

namespace pq::ui {

// The Prompter of the running application: modal Qt message boxes and file dialogs. Every file dialog
// opens in the folder of the file or folder chosen last in any of them (the working folder at first),
// where the operator keeps his files, not where the program was started.
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

 private:
  void remember(const QString& chosen);

  QString lastFolder_;
};

}  // namespace pq::ui
