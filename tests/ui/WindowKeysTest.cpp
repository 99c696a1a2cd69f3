// Enter and Esc in every window: Enter in a field does what that field's own rule says and nothing on
// the window's behalf (no button pressed for it, no dialog opened), and Esc closes only the windows
// whose Cancel-like button closes them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <memory>

#include "history/ui/HistoryWindow.h"
#include "live/LivePolling.h"
#include "live/ui/LiveDataWindow.h"
#include "pages/ReportPage.h"
#include "records/RecordStore.h"
#include "records/ui/RecordImportWindow.h"
#include "report/ui/ReportParametersWindow.h"
#include "report/ui/ReportViewer.h"
#include "report/ui/ReportWindow.h"
#include "support/StoreBuilder.h"
#include "support/UserDatabaseFixture.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "users/PasswordScrambling.h"
#include "users/UserDataModule.h"
#include "users/ui/AddUserWindow.h"
#include "users/ui/ChangePasswordWindow.h"
#include "users/ui/DeleteUserWindow.h"

namespace pq {
namespace {

// Everything a window needs, shared by the cases of the table.
struct Fixture {
  Fixture() {
    for (int minute : {37, 38, 41}) test::appendRecord(store, 10, 4, 19, 15, minute, 6);
    users.addRow("op", storedPassword("op123456"), "User");
  }

  RecordStore store;
  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 19}};
  bool reportWindowOpen = false;
  live::LivePolling polling;
  test::UserDatabaseFixture users;
  TDM database{users.path()};
};

struct WindowCase {
  const char* name;
  std::function<std::unique_ptr<QDialog>(Fixture&)> make;
  bool escapeCloses;
  bool hasFields = true;  // the import window holds buttons only
};

const WindowCase kWindows[] = {
    {"report parameters", [](Fixture& f) { return std::make_unique<TForm13>(f.store, f.prompter); }, false},
    {"report",
     [](Fixture& f) { return std::make_unique<TForm14>(f.prompter, f.reportWindowOpen, [](ReportKind) {}); },
     false},
    {"report viewer",
     [](Fixture& f) {
       return std::make_unique<ReportViewer>(std::vector<ReportPage>{ReportPage{}}, f.prompter);
     },
     false},
    {"history",
     [](Fixture& f) { return std::make_unique<TForm4>(f.store, f.prompter, f.clock, TForm4::Browser); },
     false},
    {"live",
     [](Fixture& f) {
       live::TForm10::Options options;
       options.portNo = 999'983;  // no such port: the window goes on without one
       options.settingsDialog = [](OstrelComm32::TCommDevice&, QWidget*) { return true; };
       options.polling = &f.polling;
       auto window = std::make_unique<live::TForm10>(live::LivePage::values, f.prompter, nullptr, options);
       window->Timer1().stop();
       return window;
     },
     false},
    {"import", [](Fixture& f) { return std::make_unique<TForm3>(f.store, f.prompter); }, true, false},
    {"add user",
     [](Fixture& f) {
       auto window = std::make_unique<TForm6>(f.database, f.prompter);
       // Long enough to leave the field without its length message; the name stays empty, so
       // Enter moves on from here only.
       test::child<QLineEdit>(*window, "Edit2").setText("secret77");
       return window;
     },
     true},
    {"change password", [](Fixture& f) { return std::make_unique<TForm7>(f.database, f.prompter); }, true},
    {"delete user", [](Fixture& f) { return std::make_unique<TForm8>(f.database, f.prompter); }, true},
};

// The widgets that take the focus by Tab and are no push or tool buttons: on each page of the
// window's page controls in turn.
std::vector<QWidget*> fieldsShown(QWidget& window) {
  std::vector<QWidget*> fields;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (qobject_cast<QPushButton*>(widget) != nullptr || qobject_cast<QToolButton*>(widget) != nullptr)
      continue;
    if (qobject_cast<QComboBox*>(widget->parentWidget()) != nullptr) continue;  // the list's own edit
    if ((widget->focusPolicy() & Qt::TabFocus) == 0 || !widget->isVisible() || !widget->isEnabled()) continue;
    fields.push_back(widget);
  }
  return fields;
}

QString describe(const QWidget& widget) {
  return QString::fromLatin1(widget.metaObject()->className()) + " '" + widget.objectName() + "' '" +
         widget.accessibleName() + "'";
}

TEST(WindowKeysTest, EnterInAFieldPressesNoButtonAndOpensNothing) {
  for (const WindowCase& c : kWindows) {
    SCOPED_TRACE(c.name);
    Fixture f;
    std::unique_ptr<QDialog> window = c.make(f);
    test::showActive(*window);
    QList<QTabWidget*> pageControls = window->findChildren<QTabWidget*>();
    const int pages = pageControls.isEmpty() ? 1 : pageControls.front()->count();
    int fieldsTried = 0;
    for (int page = 0; page < pages; ++page) {
      if (!pageControls.isEmpty()) pageControls.front()->setCurrentIndex(page);
      QApplication::processEvents();
      for (QWidget* field : fieldsShown(*window)) {
        SCOPED_TRACE(describe(*field).toStdString());
        std::vector<std::pair<QAbstractButton*, std::unique_ptr<QSignalSpy>>> clicks;
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
          clicks.emplace_back(button, std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked));
        field->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        f.prompter.log.clear();
        const QLineEdit* edit = qobject_cast<QLineEdit*>(field);
        const QString before = edit != nullptr ? edit->text() : QString();

        QTest::keyClick(field, Qt::Key_Return);
        QApplication::processEvents();

        ++fieldsTried;
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(f.prompter.log.isEmpty()) << f.prompter.log.join('\n').toStdString();
        for (const auto& [button, spy] : clicks)
          EXPECT_EQ(spy->count(), 0) << describe(*button).toStdString();
        if (edit != nullptr) {
          EXPECT_EQ(edit->text(), before);
        }
      }
    }
    EXPECT_EQ(fieldsTried > 0, c.hasFields);
  }
}

TEST(WindowKeysTest, EscClosesOnlyAWindowWhoseCancelButtonCloses) {
  for (const WindowCase& c : kWindows) {
    SCOPED_TRACE(c.name);
    Fixture f;
    std::unique_ptr<QDialog> window = c.make(f);
    test::showActive(*window);
    QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window.get();
    QTest::keyClick(target, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(window->isVisible(), !c.escapeCloses);
  }
}

}  // namespace
}  // namespace pq
