// The key rules of the date, capacity and position fields hold for text that comes in any other way
// than by a typed key: each character is taken as if it had been typed, and what the rule drops stays
// out.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <functional>
#include <memory>

#include "history/ui/HistoryWindow.h"
#include "history/ui/RecordBrowserPage.h"
#include "records/RecordStore.h"
#include "report/ui/ReportParametersWindow.h"
#include "support/StoreBuilder.h"
#include "support/ui/ScriptedPrompter.h"
#include "support/ui/UiTestSupport.h"
#include "timerange/ui/DateRangeFields.h"

namespace pq {
namespace {

enum class Way { CtrlV, ShiftInsert, ContextMenu, Drop, InputMethod };

const char* name(Way way) {
  switch (way) {
    case Way::CtrlV:
      return "Ctrl+V";
    case Way::ShiftInsert:
      return "Shift+Insert";
    case Way::ContextMenu:
      return "context menu";
    case Way::Drop:
      return "drop";
    case Way::InputMethod:
      return "input method";
  }
  return "";
}

// Puts `text` into the field as the operator would by `way`, at the end of the field's text.
void bringIn(QLineEdit& field, const QString& text, Way way) {
  field.setFocus();
  field.end(false);
  switch (way) {
    case Way::CtrlV: {
      QGuiApplication::clipboard()->setText(text);
      // Ctrl+V types the control character 0x16, as a keyboard gives it.
      QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QString(QChar(0x16)));
      QApplication::sendEvent(&field, &press);
      break;
    }
    case Way::ShiftInsert: {
      QGuiApplication::clipboard()->setText(text);
      QKeyEvent press(QEvent::KeyPress, Qt::Key_Insert, Qt::ShiftModifier);
      QApplication::sendEvent(&field, &press);
      break;
    }
    case Way::ContextMenu: {
      QGuiApplication::clipboard()->setText(text);
      const QPoint at = field.rect().center();
      QContextMenuEvent open(QContextMenuEvent::Mouse, at, field.mapToGlobal(at));
      QApplication::sendEvent(&field, &open);
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      QAction* paste = nullptr;
      for (QAction* action : menu->actions())
        if (action->text().section('\t', 0, 0) == QLineEdit::tr("&Paste")) paste = action;
      ASSERT_NE(paste, nullptr);
      paste->trigger();
      menu->close();
      break;
    }
    case Way::Drop: {
      QMimeData data;
      data.setText(text);
      const QPoint end(field.width() - 2, field.height() / 2);  // past the text: dropped at its end
      QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&field, &enter);
      QDropEvent drop(QPointF(end), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(&field, &drop);
      break;
    }
    case Way::InputMethod: {
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QApplication::sendEvent(&field, &commit);
      break;
    }
  }
  QApplication::processEvents();
}

struct Windows {
  RecordStore store;
  ui::ScriptedPrompter prompter;
  test::FixedClock clock{{2010, 4, 19}};
  std::unique_ptr<QWidget> window;
};

struct FieldCase {
  const char* field;
  std::function<QLineEdit&(Windows&)> open;
  QString before, brought, after;
};

const FieldCase kFields[] = {
    {"year field",
     [](Windows& w) -> QLineEdit& {
       auto fields = std::make_unique<history::DateRangeFields>(w.prompter, "from", "to");
       QLineEdit& year = fields->field(history::DateRangeFields::Start, 0);
       w.window = std::move(fields);
       return year;
     },
     "20", "1a9x5", "2019"},  // the fifth digit finds four
    {"capacity field",
     [](Windows& w) -> QLineEdit& {
       auto window = std::make_unique<TForm13>(w.store, w.prompter);
       QLineEdit& capacity = test::child<QLineEdit>(*window, "Edit4");
       w.window = std::move(window);
       return capacity;
     },
     "182", "1.5.2x", "1821.52"},  // one dot per visit
    {"batch delete position",
     [](Windows& w) -> QLineEdit& {
       auto window = std::make_unique<TForm4>(w.store, w.prompter, w.clock, TForm4::Browser);
       QLineEdit* start = nullptr;
       for (QLineEdit* edit : window->browser().findChildren<QLineEdit*>())
         if (edit->accessibleName() == "起始位置：") start = edit;
       w.window = std::move(window);
       return *start;
     },
     "3", "1-2 b", "312"},
};

TEST(TypedKeyTest, TextBroughtInAnyWayPassesTheFieldsKeyRule) {
  for (const FieldCase& c : kFields) {
    for (Way way : {Way::CtrlV, Way::ShiftInsert, Way::ContextMenu, Way::Drop, Way::InputMethod}) {
      SCOPED_TRACE(std::string(c.field) + " by " + name(way));
      Windows w;
      test::appendRecord(w.store, 10, 4, 19, 15, 37, 6);
      QLineEdit& field = c.open(w);
      test::showActive(*w.window);
      field.setText(c.before);
      bringIn(field, c.brought, way);
      EXPECT_EQ(field.text(), c.after);
    }
  }
}

}  // namespace
}  // namespace pq
