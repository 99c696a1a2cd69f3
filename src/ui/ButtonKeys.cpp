#include "ui/ButtonKeys.h"

#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>

namespace pq::ui {

namespace {

bool isEnter(const QKeyEvent& key) { return key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter; }

class EnterPressesButton : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !isEnter(*static_cast<QKeyEvent*>(event))) return false;
    static_cast<QPushButton*>(watched)->click();
    return true;
  }
};

// Sees the keys that reach the window itself, that is those its fields and buttons left alone.
class WindowKeys : public QObject {
 public:
  WindowKeys(EscapeKey escape, QObject* parent) : QObject(parent), escape_(escape) {}

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (key.matches(QKeySequence::Cancel)) return escape_ == EscapeKey::Ignored;
    return isEnter(key);
  }

 private:
  EscapeKey escape_;
};

}  // namespace

void keepKeysToFieldsAndButtons(QDialog& window, EscapeKey escape) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    button->setAutoDefault(false);
    button->setDefault(false);
    button->installEventFilter(new EnterPressesButton(button));
  }
  window.installEventFilter(new WindowKeys(escape, &window));
}

}  // namespace pq::ui
