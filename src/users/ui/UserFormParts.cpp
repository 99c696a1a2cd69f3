#include "users/ui/UserFormParts.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/MaskedEntry.h"
#include "users/UserTable.h"

namespace pq::users_ui {

namespace {

constexpr int kFieldWidth = 129;
constexpr int kFieldHeight = 24;

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
  return button;
}

void onFilledEnter(QLineEdit& field, std::function<void()> next) {
  QObject::connect(&field, &QLineEdit::returnPressed, &field, [&field, next = std::move(next)] {
    if (!field.text().isEmpty()) next();
  });
}

}  // namespace pq::users_ui
