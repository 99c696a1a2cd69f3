#include "ui/QtPrompter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <utility>

#include "ui/ChosenTypeSuffix.h"

namespace pq::ui {

namespace {

// The buttons speak Chinese like everything else, whatever translations the system has.
void nameButtons(QMessageBox& box) {
  const std::pair<QMessageBox::StandardButton, const char*> names[] = {
      {QMessageBox::Ok, "确定"},
      {QMessageBox::Cancel, "取消"},
      {QMessageBox::Yes, "是(&Y)"},
      {QMessageBox::No, "否(&N)"}};
  for (const auto& [button, name] : names) {
    if (QAbstractButton* shown = box.button(button)) shown->setText(QString::fromUtf8(name));
  }
}

void runBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
  nameButtons(box);
  box.exec();
}

}  // namespace

void QtPrompter::showMessage(QWidget* parent, const QString& text) {
  runBox(parent, QMessageBox::NoIcon, QCoreApplication::applicationName(), text);
}

void QtPrompter::showWarning(QWidget* parent, const QString& caption, const QString& text) {
  runBox(parent, QMessageBox::Warning, caption, text);
}

void QtPrompter::showError(QWidget* parent, const QString& text) {
  runBox(parent, QMessageBox::Critical, QCoreApplication::applicationName(), text);
}

bool QtPrompter::askYesNo(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.setDefaultButton(QMessageBox::Yes);
  nameButtons(box);
  return box.exec() == QMessageBox::Yes;
}

void QtPrompter::remember(const QString& chosen) {
  const QFileInfo info(chosen);
  lastFolder_ = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

QString QtPrompter::chooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) {
  const QString path = QFileDialog::getOpenFileName(parent, caption, lastFolder_, filter);
  if (!path.isEmpty()) remember(path);
  return path;
}

QStringList QtPrompter::chooseFilesOrFolder(QWidget* parent, const QString& caption, const QString& filter) {
  // Qt's own dialog, since a button that takes the folder shown can be added only to it.
  QFileDialog dialog(parent, caption, lastFolder_, filter);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  QString folder;
  auto* folderButton = new QPushButton(QStringLiteral("打开整个文件夹"), &dialog);
  folderButton->setAutoDefault(false);
  QObject::connect(folderButton, &QPushButton::clicked, &dialog, [&] {
    folder = dialog.directory().absolutePath();
    static_cast<QDialog&>(dialog).done(QDialog::Accepted);  // QFileDialog hides done()
  });
  if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
    grid->addWidget(folderButton, grid->rowCount(), 0, 1, grid->columnCount(), Qt::AlignLeft);
  }
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = folder.isEmpty() ? dialog.selectedFiles() : QStringList{folder};
  if (!chosen.isEmpty()) remember(chosen.constFirst());
  return chosen;
}

void QtPrompter::showStop(QWidget* parent, const QString& caption, const QString& text) {
  runBox(parent, QMessageBox::Critical, caption, text);
}

bool QtPrompter::askOkCancel(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Ok);
  nameButtons(box);
  return box.exec() == QMessageBox::Ok;
}

QString QtPrompter::chooseFileToSave(QWidget* parent, const QString& filter, const QString& defaultSuffix,
                                     const QString& proposedName) {
  QFileDialog dialog(parent, QString(), lastFolder_, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(defaultSuffix);
  // A name typed without a suffix takes that of the file type chosen in the list ("report" under
  // "(*.xlsx)" is report.xlsx), not the default of the first type; a type of any suffix keeps the
  // default.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, defaultSuffix](const QString& type) {
    const QString suffix = suffixOfType(type);
    dialog.setDefaultSuffix(suffix.isEmpty() ? defaultSuffix : suffix);
  });
  dialog.selectFile(proposedName);
  // The caller asks about an existing file itself, with its own texts and its own loop.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  // A name typed with a suffix of no type of the list after the type was chosen ("a.xls" under
  // "(*.xlsx)") would otherwise name a file of one type that the caller writes as another.
  const QString path = pathOfChosenType(dialog.selectedFiles().constFirst(), filter, dialog.selectedNameFilter());
  remember(path);
  return path;
}

bool QtPrompter::runPrintDialog(QWidget* parent, QPrinter& printer, PageBounds pages) {
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(pages.first, pages.last);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  return dialog.exec() == QDialog::Accepted;
}

void QtPrompter::showInformation(QWidget* parent, const QString& caption, const QString& text) {
  runBox(parent, QMessageBox::Information, caption, text);
}

}  // namespace pq::ui
