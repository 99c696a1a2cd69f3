// The real Prompter's file dialogs, driven as an operator would.
#include "ui/QtPrompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "support/TempDir.h"
#include "support/ui/UiTestSupport.h"
#include "ui/ChosenTypeSuffix.h"

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

TEST_F(ChooseFilesOrFolderTest, EveryFileDialogOpensInTheFolderChosenLast) {
  std::filesystem::create_directory(dir.file("reports"));
  QStringList shownIn;
  const auto saveIn = [&](const QString& folder, const QString& name) {
    test::whenModalShown<QFileDialog>([&, folder, name](QFileDialog& dialog) {
      shownIn << dialog.directory().absolutePath();
      if (!folder.isEmpty()) dialog.setDirectory(folder);
      test::child<QLineEdit>(dialog, "fileNameEdit").setText(name);
      QMetaObject::invokeMethod(&dialog, "accept");
    });
    return prompter.chooseFileToSave(nullptr, "*.pdf (*.pdf)", "pdf", "评估.pdf");
  };
  EXPECT_EQ(saveIn(path("reports"), "a.pdf"), path("reports/a.pdf"));
  EXPECT_EQ(saveIn(QString(), "b.pdf"), path("reports/b.pdf")) << "a name alone goes to the folder shown";

  // A folder chosen for a survey is where the next file goes too.
  test::whenModalShown<QFileDialog>([&](QFileDialog& dialog) {
    shownIn << dialog.directory().absolutePath();
    dialog.setDirectory(path("survey"));
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == "打开整个文件夹") QTest::mouseClick(button, Qt::LeftButton);
  });
  prompter.chooseFilesOrFolder(nullptr, "选择", "*.bin (*.bin)");
  EXPECT_EQ(saveIn(QString(), "c.pdf"), path("survey/c.pdf"));
  ASSERT_EQ(shownIn.size(), 4);
  EXPECT_EQ(shownIn.mid(1), (QStringList{path("reports"), path("reports"), path("survey")}));
}

TEST_F(ChooseFilesOrFolderTest, CancellingChoosesNothing) {
  test::whenModalShown<QFileDialog>([](QFileDialog& dialog) { static_cast<QDialog&>(dialog).reject(); });
  EXPECT_TRUE(prompter.chooseFilesOrFolder(nullptr, "选择", "*.bin (*.bin)").isEmpty());
}

// What the operator does first in the save dialog: type the name, or pick the type from the list.
enum class TypedFirst { Name, Type };

// The real save dialog in `folder`: the operator types `typed` and walks the type list `type` entries
// down (the arrow keys walk it as a click picks from it), in the order given, then accepts.
QString saveThroughDialog(const std::string& folder, const QString& filter, const QString& defaultSuffix,
                          const QString& proposedName, const char* typed, int type, TypedFirst first) {
  QtPrompter prompter;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    dialog->setDirectory(QString::fromStdString(folder));
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(name, nullptr);
    ASSERT_NE(types, nullptr);
    if (first == TypedFirst::Name) name->setText(QString::fromUtf8(typed));
    for (int i = 0; i < type; ++i) QTest::keyClick(types, Qt::Key_Down);
    if (first == TypedFirst::Type) name->setText(QString::fromUtf8(typed));
    QMetaObject::invokeMethod(dialog, "accept");
  });
  return prompter.chooseFileToSave(nullptr, filter, defaultSuffix, proposedName);
}

// The file type list's entry, the typed name and the path the caller gets.
TEST(QtPrompterTest, ANameTypedWithoutSuffixTakesTheChosenTypesSuffix) {
  test::TempDir dir;
  const QString filter = QStringLiteral("*.xls (*.xls);;Excel 工作簿 (*.xlsx);;All files (*.*)");
  const struct {
    int type;
    const char* typed;
    const char* chosen;
  } cases[] = {
      {0, "r", "r.xls"},      {1, "r", "r.xlsx"}, {2, "r", "r.xls"},  // any suffix: the caller's default
      {1, "r.xls", "r.xlsx"},  // the dialog swaps a typed suffix for the chosen type's
      {1, "r.QRP", "r.xlsx"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    SCOPED_TRACE(c.type);
    const QString path = saveThroughDialog(dir.path(), filter, QStringLiteral("xls"), QStringLiteral("XXX.xls"),
                                           c.typed, c.type, TypedFirst::Name);
    EXPECT_EQ(path.toStdString(), dir.file(c.chosen));
  }
}

// A name typed after the type was chosen: the file the caller writes is of the chosen type, and its
// name says so.
TEST(QtPrompterTest, ANameTypedAfterTheTypeTakesTheChosenTypesSuffix) {
  test::TempDir dir;
  const QString filter = QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件，UTF-8 (*.csv)");
  const struct {
    int type;
    const char* typed;
    const char* chosen;
  } cases[] = {
      {0, "a.xls", "a.xls.xlsx"}, {0, "a.txt", "a.txt.xlsx"}, {1, "a.xls", "a.xls.csv"},
      {0, "a.XLSX", "a.XLSX"},    {1, "a.csv", "a.csv"},      {0, "2024.03", "2024.03.xlsx"},
      {0, "a.csv", "a.csv"},  // a type of the list named on purpose
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    SCOPED_TRACE(c.type);
    const QString path = saveThroughDialog(dir.path(), filter, QStringLiteral("xlsx"), QStringLiteral("记录.xlsx"),
                                           c.typed, c.type, TypedFirst::Type);
    EXPECT_EQ(path.toStdString(), dir.file(c.chosen));
  }
}

TEST(ChosenTypeSuffixTest, NamesOfTheChosenType) {
  const QString filter = QStringLiteral("*.xls (*.xls);;Excel 工作簿 (*.xlsx);;报表 (*.QRP);;All files (*.*)");
  const struct {
    const char* path;
    const char* type;
    const char* chosen;
  } cases[] = {
      {"/d/a.txt", "Excel 工作簿 (*.xlsx)", "/d/a.txt.xlsx"},
      {"/d/a.csv", "*.xls (*.xls)", "/d/a.csv.xls"},
      {"/d/a.Xlsx", "Excel 工作簿 (*.xlsx)", "/d/a.Xlsx"},     // already of the type, any case
      {"/d/a.qrp", "Excel 工作簿 (*.xlsx)", "/d/a.qrp"},       // another type of the list
      {"/d/a.XLS", "Excel 工作簿 (*.xlsx)", "/d/a.XLS"},
      {"/d/a", "*.xls (*.xls)", "/d/a.xls"},
      {"/d/v1.2/a.b", "*.xls (*.xls)", "/d/v1.2/a.b.xls"},    // no file type's suffix: kept whole
      {"/d/2024.03.05", "*.xls (*.xls)", "/d/2024.03.05.xls"},
      {"/d/a.xlsx", "All files (*.*)", "/d/a.xlsx"},          // any type: as typed
      {"/d/a.txt", "表格 (*.xls *.xlsx)", "/d/a.txt"},        // several suffixes: as typed
      {"", "Excel 工作簿 (*.xlsx)", ""},                      // cancelled
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pathOfChosenType(QString::fromUtf8(c.path), filter, QString::fromUtf8(c.type)).toStdString(),
              c.chosen)
        << c.path << " " << c.type;
  }
}

}  // namespace
}  // namespace pq::ui
