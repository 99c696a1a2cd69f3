#pragma once

#include <QPoint>
#include <QString>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The pieces the user windows are made of, placed at fixed positions in their client area.
namespace pq::users_ui {

QLabel* placeLabel(QWidget& form, const QString& text, QPoint at);
QLineEdit* placeEntry(QWidget& form, QPoint at, bool masked);
// An editable list with "User" and "Administrator"; typed text is kept as it is.
QComboBox* placeRoleSelector(QWidget& form, QPoint at);
QPushButton* placeButton(QWidget& form, const QString& text, QPoint at);
// Enter in `field` runs `next` only when the field is not empty.
void onFilledEnter(QLineEdit& field, std::function<void()> next);

}  // namespace pq::users_ui
