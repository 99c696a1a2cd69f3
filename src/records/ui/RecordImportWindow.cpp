#include "records/ui/RecordImportWindow.h"

#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "ui/Artwork.h"
#include "ui/ButtonKeys.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"
#include "ui/WindowPlacement.h"

namespace pq {

TForm3::TForm3(RecordStore& store, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent),
      store_(store),
      prompter_(prompter),
      Image1(new QLabel(this)),
      GroupBox1(new QGroupBox(QStringLiteral("打开记录文件"), this)),
      Label1(new QLabel(GroupBox1)),
      Label2(new QLabel(GroupBox1)),
      ProgressBar1(new QProgressBar(GroupBox1)),
      Btn_Open(new QPushButton(QStringLiteral(" 打开原始记录文件 "), GroupBox1)),
      Btn_Exit(new QPushButton(QStringLiteral("退      出"), GroupBox1)) {
  setWindowTitle(QStringLiteral("记录文件操作"));
  setFixedSize(500, 250);
  Image1->setObjectName("Image1");
  GroupBox1->setObjectName("GroupBox1");
  Label1->setObjectName("Label1");
  Label2->setObjectName("Label2");
  ProgressBar1->setObjectName("ProgressBar1");
  Btn_Open->setObjectName("Btn_Open");
  Btn_Exit->setObjectName("Btn_Exit");

  // Fixed places, as the window is repainted during an import without running any layout.
  Image1->setGeometry(10, 10, 150, 230);
  Image1->setPixmap(ui::importPanelPicture(Image1->size()));
  GroupBox1->setGeometry(172, 10, 318, 230);
  Label1->setGeometry(16, 32, 286, 24);
  Label2->setGeometry(16, 66, 286, 24);
  ProgressBar1->setGeometry(16, 98, 286, 22);
  Btn_Open->setGeometry(16, 176, 150, 30);
  Btn_Exit->setGeometry(182, 176, 120, 30);

  Label1->hide();
  Label2->hide();
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setTextVisible(false);  // the progress text label says how far it is
  ProgressBar1->hide();
  ui::connectReporting(Btn_Open, &QPushButton::clicked, this, prompter_, [this] { Btn_OpenClick(); });
  connect(Btn_Exit, &QPushButton::clicked, this, &QDialog::accept);
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Closes);
}

void TForm3::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) ui::centreOnScreen(*this);
}

void TForm3::importWhenShown(const std::string& path) { pendingPath_ = path; }

void TForm3::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (pendingPath_.empty()) return;
  // From the event loop, once the window is on the screen and can show the progress.
  QTimer::singleShot(0, this, [this, path = std::move(pendingPath_)] {
    ui::runReportingErrors(prompter_, this, [this, &path] { importRecordFile(store_, path, *this); });
  });
  pendingPath_.clear();
}

void TForm3::Btn_OpenClick() {
  // Emptied before the dialog: a cancelled dialog also leaves the store empty.
  store_.clear();
  const QString path = prompter_.chooseFileToOpen(this, QStringLiteral("请选择原始记录文件（*.bin）"),
                                                  QStringLiteral("*.bin (*.bin);;All files (*)"));
  if (path.isEmpty()) return;
  importRecordFile(store_, QFile::encodeName(path).toStdString(), *this);
}

void TForm3::importStarted(const std::string& statusText, int frames) {
  Label1->setText(QString::fromStdString(statusText));
  Label1->show();
  ProgressBar1->setRange(0, frames);
  ProgressBar1->setValue(0);
  ProgressBar1->show();
  Label2->clear();
  Label2->show();
  Label1->repaint();
  repaintProgress(0, {});
}

void TForm3::importProgress(int position, const std::string& progressText) {
  const auto now = std::chrono::steady_clock::now();
  if (now - lastRepaint_ < kRepaintInterval) return;
  repaintProgress(position, QString::fromStdString(progressText));
}

void TForm3::importMessage(const std::string& text) {
  prompter_.showMessage(this, QString::fromStdString(text));
}

void TForm3::importFinished(const std::string& statusText) {
  Label2->hide();
  ProgressBar1->hide();
  Label1->setText(QString::fromStdString(statusText));
  repaint();
}

void TForm3::repaintProgress(int position, const QString& text) {
  ProgressBar1->setValue(position);
  Label2->setText(text);
  Label2->repaint();
  ProgressBar1->repaint();
  lastRepaint_ = std::chrono::steady_clock::now();
}

}  // namespace pq
