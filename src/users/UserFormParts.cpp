#include "users/UserFormParts.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/MaskedEntry.h"
#include "users/UserTable.h"

namespace pq::users_ui {

namespace {

constexpr int kFieldWidth = 129;
constexpr int kFieldHeight = 24;

// Enter presses the button that has the focus, as Space does. The buttons cannot be auto-default
// ones for that: the dialog would then press one of them on Enter in an empty field.
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

QLabel* placeLabel(QWidget& form, const QString& text, QPoint at) {
  auto* label = new QLabel(text, &form);
  label->move(at);
  label->adjustSize();
  return label;
}

QLineEdit* placeEntry(QWidget& form, QPoint at, bool masked) {
  auto* entry = new QLineEdit(&form);
  entry->setGeometry(at.x(), at.y(), kFieldWidth, kFieldHeight);
  if (masked) ui::makeMasked(*entry);
  return entry;
}

QComboBox* placeRoleSelector(QWidget& form, QPoint at) {
  auto* selector = new QComboBox(&form);
  selector->setGeometry(at.x(), at.y(), kFieldWidth, kFieldHeight);
  selector->setEditable(true);
  selector->setInsertPolicy(QComboBox::NoInsert);
  selector->addItems({users::kUser, users::kAdministrator});
  return selector;
}

QPushButton* placeButton(QWidget& form, const QString& text, QPoint at) {
  auto* button = new QPushButton(text, &form);
  button->setGeometry(at.x(), at.y(), 49, 25);
  // Enter in a field is handled by the field's own rule, never by a default button.
  button->setAutoDefault(false);
  button->installEventFilter(new EnterPressesButton(button));
  return button;
}

void onFilledEnter(QLineEdit& field, std::function<void()> next) {
  QObject::connect(&field, &QLineEdit::returnPressed, &field, [&field, next = std::move(next)] {
    if (!field.text().isEmpty()) next();
  });
}

}  // namespace pq::users_ui
