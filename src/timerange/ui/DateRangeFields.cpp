#include "timerange/ui/DateRangeFields.h"

#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "records/RecordStore.h"
#include "timerange/ui/TypedKey.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"

namespace pq::history {

namespace {

const char* const kUnitLabels[5] = {"年", "月", "日", "时", "分"};
const char* const kPartNames[5] = {"Year", "Month", "Day", "Hour", "Minute"};

}  // namespace

DateRangeFields::DateRangeFields(ui::Prompter& prompter, const QString& startLabel, const QString& endLabel,
                                 QWidget* parent)
    : QWidget(parent), prompter_(prompter) {
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setHorizontalSpacing(2);
  const QString rowLabels[2] = {startLabel, endLabel};
  const char* const rowNames[2] = {"start", "end"};
  for (int which = 0; which < 2; ++which) {
    auto* rowLabel = new QLabel(rowLabels[which], this);
    layout->addWidget(rowLabel, which, 0);
    QString spokenRow = rowLabels[which];
    spokenRow.remove(QLatin1Char(' ')).remove(QStringLiteral("："));
    for (int part = 0; part < 5; ++part) {
      auto* edit = new QLineEdit(this);
      edit->setObjectName(QString::fromLatin1(rowNames[which]) + QString::fromLatin1(kPartNames[part]));
      edit->setAccessibleName(spokenRow + QString::fromUtf8(kUnitLabels[part]));
      const int characters = part == 0 ? 4 : 2;
      edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(characters + 1, QLatin1Char('0'))) +
                          10);
      edit->installEventFilter(this);
      ui::holdToKeyRule(
          *edit,
          [this, edit](const QString& text, char32_t key) {
            return filterKey(kindOf(*edit), text.toStdString(), key);
          },
          // Enter only checks the field; it does not also press a dialog's default button.
          [this, edit] { validate(*edit); });
      fields_[which][part] = edit;
      if (part == 0) rowLabel->setBuddy(edit);
      layout->addWidget(edit, which, 1 + 2 * part);
      layout->addWidget(new QLabel(QString::fromUtf8(kUnitLabels[part]), this), which, 2 + 2 * part);
    }
  }
  layout->setColumnStretch(11, 1);
}

void DateRangeFields::setTexts(const DateFieldGroup& start, const DateFieldGroup& end) {
  const DateFieldGroup* groups[2] = {&start, &end};
  for (int which = 0; which < 2; ++which) {
    for (int part = 0; part < 5; ++part) {
      fields_[which][part]->setText(QString::fromStdString(groups[which]->texts[part]));
    }
  }
}

DateFieldGroup DateRangeFields::texts(End which) const {
  DateFieldGroup group;
  for (int part = 0; part < 5; ++part) group.texts[part] = fields_[which][part]->text().toStdString();
  return group;
}

bool DateRangeFields::anyEmpty() const { return start().anyEmpty() || end().anyEmpty(); }

void DateRangeFields::showStoreSpan(const RecordStore& store) {
  DateFieldGroup first = start();
  DateFieldGroup last = end();
  pq::showStoreSpan(store, first, last);
  setTexts(first, last);
}

void DateRangeFields::setFieldsEnabled(bool enabled) {
  for (const auto& row : fields_) {
    for (QLineEdit* edit : row) edit->setEnabled(enabled);
  }
}

DateFieldKind DateRangeFields::kindOf(const QLineEdit& edit) const {
  for (const auto& row : fields_) {
    for (int part = 0; part < 5; ++part) {
      if (row[part] == &edit) return DateFieldGroup::kKinds[part];
    }
  }
  return DateFieldKind::Minute;
}

bool DateRangeFields::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (edit == nullptr) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusOut: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // Leaving the window (another window, a message box, a menu) is no leaving of the field.
      if (refocusing_ || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return false;
      // Checked once the focus has settled, so a message box does not open in the middle of the
      // focus change.
      QTimer::singleShot(0, this, [this, field = QPointer<QLineEdit>(edit)] {
        if (field && field->isEnabled() && field->isVisible()) validate(*field);
      });
      return false;
    }
    case QEvent::MouseButtonDblClick:
      edit->clear();
      return true;
    default:
      return false;
  }
}

void DateRangeFields::validate(QLineEdit& edit) {
  ui::runReportingErrors(prompter_, window(), [&] {
    const DateFieldVerdict verdict = validateField(kindOf(edit), edit.text().toStdString());
    if (verdict.message.empty()) return;
    prompter_.showMessage(window(), QString::fromStdString(verdict.message));
    if (verdict.emptyField) edit.clear();
    if (verdict.focusBack) {
      refocusing_ = true;
      edit.setFocus(Qt::OtherFocusReason);
      refocusing_ = false;
    }
  });
}

}  // namespace pq::history
