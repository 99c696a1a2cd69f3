#include "ui/QtPrompter.h"

#include <gtest/gtest.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "support/TempDir.h"
#include "support/ui/UiTestSupport.h"

namespace pq::ui {
namespace {

class ChooseFilesOrFolderTest : public ::testing::Test {
 protected:
  ChooseFilesOrFolderTest() {
    std::filesystem::create_directory(dir.file("survey"));
    for (const char* name : {"0419.bin", "0420.bin", "0421.bin"})
      std::ofstream(dir.file("survey/") + name) << name;
  }

  QString path(const std::string& name) const { return QString::fromStdString(dir.file(name)); }

  test::TempDir dir;
  QtPrompter prompter;
};

TEST_F(ChooseFilesOrFolderTest, SeveralFilesChosenAtOnce) {
  test::whenModalShown<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "选择");
    dialog.setDirectory(path("survey"));
    test::child<QLineEdit>(dialog, "fileNameEdit").setText("\"0421.bin\" \"0419.bin\"");
    static_cast<QDialog&>(dialog).accept();  // as the Open button does
  });
  QStringList chosen = prompter.chooseFilesOrFolder(nullptr, "选择", "*.bin (*.bin)");
  chosen.sort();
  EXPECT_EQ(chosen, (QStringList{path("survey/0419.bin"), path("survey/0421.bin")}));
}

TEST_F(ChooseFilesOrFolderTest, TheFolderButtonChoosesTheFolderShown) {
  test::whenModalShown<QFileDialog>([&](QFileDialog& dialog) {
    dialog.setDirectory(path("survey"));
    QPushButton* folder = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      if (button->text() == "打开整个文件夹") folder = button;
    }
    ASSERT_NE(folder, nullptr);
    EXPECT_TRUE(folder->isVisible());
    QTest::mouseClick(folder, Qt::LeftButton);
  });
  EXPECT_EQ(prompter.chooseFilesOrFolder(nullptr, "选择", "*.bin (*.bin)"), QStringList{path("survey")});
}

TEST_F(ChooseFilesOrFolderTest, CancellingChoosesNothing) {
  test::whenModalShown<QFileDialog>([](QFileDialog& dialog) { static_cast<QDialog&>(dialog).reject(); });
  EXPECT_TRUE(prompter.chooseFilesOrFolder(nullptr, "选择", "*.bin (*.bin)").isEmpty());
}

}  // namespace
}  // namespace pq::ui
