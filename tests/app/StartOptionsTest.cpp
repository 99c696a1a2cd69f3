#include "app/StartOptions.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTranslator>

#include "app/QtTranslations.h"

namespace pq::app {
namespace {

using Answer = StartOptions::Answer;

TEST(StartOptionsTest, CommandLines) {
  using Files = std::vector<std::string>;
  const struct {
    std::vector<std::string> args;
    Answer answer;
    Files files;
  } cases[] = {
      {{}, Answer::Run, {}},
      {{"day.bin"}, Answer::Run, {"day.bin"}},
      {{"报表.QRP"}, Answer::Run, {"报表.QRP"}},
      {{"--", "-odd name.bin"}, Answer::Run, {"-odd name.bin"}},
      {{"-"}, Answer::Run, {"-"}},
      {{"--help"}, Answer::Help, {}},
      {{"day.bin", "-h"}, Answer::Help, {}},
      {{"--version"}, Answer::Version, {}},
      {{"--verbose"}, Answer::Wrong, {}},
      // Several record files are one survey, in the order given (the survey orders them by time).
      {{"d20.bin", "d19.bin", "d21.bin"}, Answer::Run, {"d20.bin", "d19.bin", "d21.bin"}},
      {{"--", "a.bin", "--help"}, Answer::Run, {"a.bin", "--help"}},
      {{"a.bin", "--", "-b.bin"}, Answer::Run, {"a.bin", "-b.bin"}},
      {{"a.bin", "报表.qrp"}, Answer::Wrong, {}},
      {{"报表.QRP", "二.QRP"}, Answer::Wrong, {}},
      {{"a.bin", "b.bin", "--verbose"}, Answer::Wrong, {}},
  };
  for (const auto& c : cases) {
    const StartOptions options = parseStartOptions(c.args);
    EXPECT_EQ(options.answer, c.answer) << ::testing::PrintToString(c.args);
    EXPECT_EQ(options.files, c.files) << ::testing::PrintToString(c.args);
    EXPECT_EQ(options.error.empty(), c.answer != Answer::Wrong) << ::testing::PrintToString(c.args);
  }
  EXPECT_EQ(startVersionText(), "pqdesk 2.7\n");
  EXPECT_NE(startHelpText().find("FILE.bin FILE.bin... | FOLDER"), std::string::npos) << startHelpText();
}

TEST(StartOptionsTest, ReportFilesByTheirEnding) {
  for (const char* name : {"a.QRP", "报表.qrp", "/tmp/x.Qrp", ".qrp"})
    EXPECT_TRUE(namesReportFile(name)) << name;
  for (const char* name : {"day.bin", "qrp", "a.qrp.bin", "aQRP", ""})
    EXPECT_FALSE(namesReportFile(name)) << name;
}

TEST(QtTranslationsTest, TraditionalOnlyForTraditionalSystems) {
  EXPECT_STREQ(qtTranslationLocale(0x0804), "zh_CN");
  EXPECT_STREQ(qtTranslationLocale(0x1004), "zh_CN");  // Singapore
  EXPECT_STREQ(qtTranslationLocale(0x0404), "zh_TW");
  EXPECT_STREQ(qtTranslationLocale(0x0C04), "zh_TW");  // Hong Kong
  EXPECT_STREQ(qtTranslationLocale(0x1404), "zh_TW");  // Macao
  EXPECT_STREQ(qtTranslationLocale(0x0409), "zh_CN") << "the program speaks Chinese on any system";
}

TEST(QtTranslationsTest, QtsOwnDialogsSpeakChinese) {
  const QByteArray oldLocale = qgetenv("LC_ALL");
  qputenv("LC_ALL", "zh_CN.UTF-8");
  ASSERT_TRUE(installQtTranslations(*qApp));
  QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), "取消");
  QFileDialog dialog(nullptr, "打开");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  auto* box = dialog.findChild<QDialogButtonBox*>();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->button(QDialogButtonBox::Open)->text(), "打开(&O)");

  // The other window tests expect Qt's own texts untranslated.
  for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
  if (oldLocale.isEmpty()) {
    qunsetenv("LC_ALL");
  } else {
    qputenv("LC_ALL", oldLocale);
  }
}

}  // namespace
}  // namespace pq::app
