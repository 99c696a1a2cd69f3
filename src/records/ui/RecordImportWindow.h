#pragma once

#include <QDialog>
#include <chrono>

#include "records/RecordFileImport.h"

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace pq {

namespace ui {
class Prompter;
}

// The record file import window (TForm3). Its open button empties the store, asks for a file and
// imports it; the window shows the import's progress while the import runs inside the handler.
// No events are processed during an import, so the progress display is repainted explicitly, at
// most every kRepaintInterval so that a long file does not spend its time drawing.
class TForm3 : public QDialog, public ImportListener {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kRepaintInterval{50};

  TForm3(RecordStore& store, ui::Prompter& prompter, QWidget* parent = nullptr);

  // Imports `path` as soon as the window shows, as if it had been chosen in the open dialog (a
  // record file named on the program's command line).
  void importWhenShown(const std::string& path);

  void importStarted(const std::string& statusText, int frames) override;
  void importProgress(int position, const std::string& progressText) override;
  void importMessage(const std::string& text) override;
  void importFinished(const std::string& statusText) override;

 protected:
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void Btn_OpenClick();
  void repaintProgress(int position, const QString& text);

  RecordStore& store_;
  ui::Prompter& prompter_;
  std::chrono::steady_clock::time_point lastRepaint_;
  std::string pendingPath_;

  QLabel* Image1;
  QGroupBox* GroupBox1;
  QLabel* Label1;
  QLabel* Label2;
  QProgressBar* ProgressBar1;
  QPushButton* Btn_Open;
  QPushButton* Btn_Exit;
};

}  // namespace pq
