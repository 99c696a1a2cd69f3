#include <gtest/gtest.h>

#include <QFile>

#include "support/TempDir.h"
#include "support/ui/ScriptedPrompter.h"
#include "ui/NewFileChoice.h"

namespace pq {
namespace {

const ui::SaveDialogSettings kBitmap{QStringLiteral("*.bmp (*.bmp);;All files (*)"), QStringLiteral("bmp"),
                                     QStringLiteral("XXX.bmp")};

struct ExistingFileCase {
  const char* name;
  ui::ExistingFileAnswer onExisting;
  std::vector<bool> answers;
  bool secondFileGiven;
  bool expectChosen;
  QStringList expectedLog;
};

class NewFileChoiceTest : public ::testing::TestWithParam<ExistingFileCase> {};

TEST_P(NewFileChoiceTest, AnExistingFileIsNeverReturned) {
  const ExistingFileCase& c = GetParam();
  test::TempDir dir;
  const QString existing = QString::fromStdString(dir.file("old.bmp"));
  const QString fresh = QString::fromStdString(dir.file("new.bmp"));
  QFile file(existing);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();

  ui::ScriptedPrompter prompter;
  prompter.answerFile(existing);
  if (c.secondFileGiven) prompter.answerFile(fresh);
  for (bool answer : c.answers) prompter.answerYesNo(answer);

  const QString chosen = ui::chooseNewFile(prompter, nullptr, kBitmap, c.onExisting);
  EXPECT_EQ(chosen, c.expectChosen ? fresh : QString());
  EXPECT_EQ(prompter.log, c.expectedLog);
}

const QString kAsk = QStringLiteral("question: 另存为: 文件已经存在，请重新输入文件名!");

INSTANTIATE_TEST_SUITE_P(
    Cases, NewFileChoiceTest,
    ::testing::Values(
        ExistingFileCase{"OkChoosesAgain", ui::ExistingFileAnswer::AskAgain, {true}, true, true,
                         {"save: XXX.bmp", kAsk, "save: XXX.bmp"}},
        ExistingFileCase{"CancelStops", ui::ExistingFileAnswer::AskAgain, {false}, true, false,
                         {"save: XXX.bmp", kAsk}},
        ExistingFileCase{"SilentDialogAgain", ui::ExistingFileAnswer::SilentlyAgain, {}, true, true,
                         {"save: XXX.bmp", "save: XXX.bmp"}},
        ExistingFileCase{"SilentThenCancelled", ui::ExistingFileAnswer::SilentlyAgain, {}, false, false,
                         {"save: XXX.bmp", "save: XXX.bmp (unanswered)"}}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
}  // namespace pq
