// The save dialog of the real Prompter, driven as an operator would: a file type chosen in the
// dialog's list and a name typed without a suffix.
#include "ui/QtPrompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "support/TempDir.h"

namespace pq::ui {
namespace {

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
    QtPrompter prompter;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->setDirectory(QString::fromStdString(dir.path()));
      auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
      ASSERT_NE(name, nullptr);
      ASSERT_NE(types, nullptr);
      name->setText(QString::fromUtf8(c.typed));
      // The arrow keys walk the list as a click picks from it.
      for (int i = 0; i < c.type; ++i) QTest::keyClick(types, Qt::Key_Down);
      QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString path =
        prompter.chooseFileToSave(nullptr, filter, QStringLiteral("xls"), QStringLiteral("XXX.xls"));
    EXPECT_EQ(path.toStdString(), dir.file(c.chosen));
  }
}

}  // namespace
}  // namespace pq::ui
