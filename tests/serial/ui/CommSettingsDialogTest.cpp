// The port settings dialogs on screen: texts, Enter moving on, messages, applying and restoring.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "base/AppLang.h"
#include "serial/platform/DeviceNames.h"
#include "serial/ui/DeviceSettingsDialog.h"
#include "support/PseudoTerminal.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"

namespace pq::OstrelComm32 {
namespace {

using test::child;

// Speaks one language for the length of a test.
class LanguageScope {
 public:
  explicit LanguageScope(TLangType language) : saved_(AppLang) { AppLang.fSetLangType(language); }
  ~LanguageScope() { AppLang = saved_; }

 private:
  TAppLang saved_;
};

// A port in the list that cannot be opened: a link to nothing.
class DeadPort {
 public:
  DeadPort() : number_(40000 + static_cast<int>(::getpid() % 100000) * 2) {
    std::filesystem::create_directories(portLinkFolder());
    std::filesystem::remove(path());
    std::filesystem::create_symlink("/nonexistent/pqdesk-port", path());
  }
  ~DeadPort() { std::filesystem::remove(path()); }
  int number() const { return number_; }
  QString name() const { return QStringLiteral("COM%1").arg(number_); }

 private:
  std::string path() const { return portLinkFolder() + "/COM" + std::to_string(number_); }
  int number_;
};

void pressOk(CommSettingsDialog& dialog) { QTest::mouseClick(&dialog.okButton(), Qt::LeftButton); }

TEST(CommSettingsDialogTest, TextsAndLayoutInThreeLanguages) {
  struct Case {
    TLangType language;
    const char* caption;
    const char* ok;
    const char* firstParity;
  };
  const Case cases[] = {{ltGbk, "端口设置", "确定", "No parity (无)"},
                        {ltBig5, "串列埠設置", "確定", "No parity (無)"},
                        {ltEnglish, "COM port Setup", "&OK", "No parity"}};
  for (const Case& c : cases) {
    LanguageScope language(c.language);
    TCommDevice device;
    ui::ScriptedPrompter prompter;
    TForm_CommDevice_Settings dialog(nullptr, false, device, prompter);
    EXPECT_GE(dialog.width(), 393);
    EXPECT_EQ(dialog.height(), 228);
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8(c.caption));
    // No caption or list item is cut off, and every field stays inside its group and the dialog.
    for (const QLabel* caption : dialog.findChildren<QLabel*>())
      EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->width())
          << caption->text().toStdString();
    for (const QComboBox* list : dialog.findChildren<QComboBox*>())
      EXPECT_LE(list->sizeHint().width(), list->width()) << list->objectName().toStdString();
    for (const QGroupBox* box : dialog.findChildren<QGroupBox*>()) {
      EXPECT_TRUE(dialog.rect().contains(box->geometry())) << box->title().toStdString();
      for (const QWidget* field : box->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(box->rect().contains(field->geometry())) << field->objectName().toStdString();
    }
    EXPECT_EQ(dialog.okButton().text(), QString::fromUtf8(c.ok));
    EXPECT_EQ(child<QComboBox>(dialog, "parityList").itemText(0), QString::fromUtf8(c.firstParity));
    EXPECT_EQ(child<QComboBox>(dialog, "parityList").count(), 5);
    EXPECT_EQ(child<QComboBox>(dialog, "flowList").count(), 4);
    EXPECT_EQ(dialog.baudList().count(), 15);
    EXPECT_EQ(dialog.findChildren<QGroupBox*>().size(), 3);
  }
}

TEST(CommSettingsDialogTest, EnterMovesThroughTheFieldsAndOkReportsAMissingPort) {
  LanguageScope language(ltGbk);
  TCommDevice device;
  device.SetPortNo(12345);
  ui::ScriptedPrompter prompter;
  TForm_CommDevice_Settings dialog(nullptr, true, device, prompter);
  test::showActive(dialog);
  EXPECT_EQ(dialog.portList().currentIndex(), -1) << "port 12345 is not in the list";
  EXPECT_EQ(dialog.baudList().currentText(), "115200");
  EXPECT_EQ(dialog.autoAnswerEdit().text(), "0");

  dialog.baudList().setFocus();
  QTest::keyClick(&dialog.baudList(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), &child<QComboBox>(dialog, "parityList"));
  child<QLineEdit>(dialog, "inBufEdit").setFocus();
  QTest::keyClick(&child<QLineEdit>(dialog, "inBufEdit"), Qt::Key_Enter);
  EXPECT_EQ(QApplication::focusWidget(), &child<QLineEdit>(dialog, "outBufEdit"));
  EXPECT_TRUE(prompter.log.isEmpty());
  EXPECT_TRUE(dialog.isVisible());

  // From the last field Enter presses OK, which finds no port chosen.
  QTest::keyClick(&child<QLineEdit>(dialog, "outBufEdit"), Qt::Key_Return);
  EXPECT_EQ(prompter.log, QStringList{"stop: 端口设置: 必须选择端口"});
  EXPECT_EQ(QApplication::focusWidget(), &dialog.portList());
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(device.PortNo(), 12345);
}

TEST(CommSettingsDialogTest, AWrongEntryIsReportedAndFocused) {
  LanguageScope language(ltEnglish);
  test::PseudoTerminal pty;
  TCommDevice device;
  device.SetPortNo(pty.portNumber());
  ui::ScriptedPrompter prompter;
  TForm_CommDevice_Settings dialog(nullptr, true, device, prompter);
  test::showActive(dialog);
  dialog.autoAnswerEdit().setText("256");
  pressOk(dialog);
  EXPECT_EQ(prompter.log, QStringList{"stop: COM port Setup: Auto Answer: 0 - 255"});
  EXPECT_EQ(QApplication::focusWidget(), &dialog.autoAnswerEdit());
  EXPECT_FALSE(device.Active());
}

TEST(CommSettingsDialogTest, AFailedOpenRestoresTheDeviceAndKeepsTheDialogOpen) {
  LanguageScope language(ltGbk);
  DeadPort dead;
  test::PseudoTerminal pty;
  TCommDevice device;
  device.SetPortNo(pty.portNumber());
  device.SetBaud(br1200);
  device.SetAutoAnswer(4);
  ui::ScriptedPrompter prompter;
  TForm_CommDevice_Settings dialog(nullptr, true, device, prompter);
  test::showActive(dialog);
  dialog.portList().setCurrentIndex(dialog.portList().findText(dead.name()));
  ASSERT_GE(dialog.portList().currentIndex(), 0);
  dialog.baudList().setCurrentText("9600");
  dialog.autoAnswerEdit().setText("9");
  pressOk(dialog);
  EXPECT_EQ(prompter.log, QStringList{"stop: 端口设置: 不能打开端口"});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), &dialog.portList());
  EXPECT_EQ(device.PortNo(), pty.portNumber());
  EXPECT_EQ(device.Baud(), br1200);
  EXPECT_EQ(device.AutoAnswer(), 4);
  EXPECT_FALSE(device.Active());

  // Then the working port: OK applies it and opens the port.
  dialog.portList().setCurrentIndex(
      dialog.portList().findText(QStringLiteral("COM%1").arg(pty.portNumber())));
  pressOk(dialog);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(device.Active());
  EXPECT_EQ(device.Baud(), br9600);
  EXPECT_EQ(device.AutoAnswer(), 9);
}

TEST(CommSettingsDialogTest, CancelChangesNothing) {
  test::PseudoTerminal pty;
  TCommDevice device;
  device.SetPortNo(pty.portNumber());
  ui::ScriptedPrompter prompter;
  TForm_CommDevice_Settings dialog(nullptr, true, device, prompter);
  test::showActive(dialog);
  dialog.baudList().setCurrentIndex(0);
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(device.Baud(), br115200);
  EXPECT_FALSE(device.Active());
}

TEST(CommSettingsDialogTest, ThePlainDevicesBaudRateIsTyped) {
  LanguageScope language(ltGbk);
  test::PseudoTerminal pty;
  TPlainCommDevice device;
  device.SetPortNo(pty.portNumber());
  ui::ScriptedPrompter prompter;
  TForm_PlainCommDevice_Settings dialog(nullptr, false, device, prompter);
  test::showActive(dialog);
  ASSERT_TRUE(dialog.baudList().isEditable());
  EXPECT_EQ(dialog.baudList().currentText(), "115200");
  dialog.baudList().setEditText("96x");
  pressOk(dialog);
  EXPECT_EQ(prompter.log, QStringList{"stop: 端口设置: 无效的波特率"});
  // Enter in the typed rate moves on instead of closing.
  dialog.baudList().setEditText("250000");
  dialog.baudList().lineEdit()->setFocus();
  QTest::keyClick(dialog.baudList().lineEdit(), Qt::Key_Return);
  EXPECT_EQ(QApplication::focusWidget(), &child<QComboBox>(dialog, "parityList"));
  EXPECT_EQ(dialog.baudList().count(), 15) << "typing adds no item";
  pressOk(dialog);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(device.Baud(), 250000u);
  EXPECT_FALSE(device.Active()) << "closed before, and not asked to open";
}

}  // namespace
}  // namespace pq::OstrelComm32
