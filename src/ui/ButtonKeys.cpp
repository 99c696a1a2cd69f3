#include "ui/ButtonKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace pq::ui {

namespace {

class EnterPressesButton : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    static_cast<QPushButton*>(watched)->click();
    return true;
  }
};

}  // namespace

void pressOnEnter(QPushButton& button) {
  button.setAutoDefault(false);
  button.installEventFilter(new EnterPressesButton(&button));
}

}  // namespace pq::ui
