#include "ui/QtPrompter.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace pq::ui {

namespace {

void runBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
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
  return box.exec() == QMessageBox::Yes;
}

QString QtPrompter::chooseFileToOpen(QWidget* parent, const QString& caption, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

}  // namespace pq::ui
