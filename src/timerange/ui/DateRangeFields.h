#pragma once

#include <QWidget>
#include <array>

#include "timerange/DateFieldGroup.h"

class QLabel;
class QLineEdit;

namespace pq {
class RecordStore;
}
namespace pq::ui {
class Prompter;
}

namespace pq::history {

// The ten date fields of a time range: a start row and an end row of year, month, day, hour and
// minute edits, each followed by its unit label. Keys go through filterKey, a field is checked with
// validateField when it loses the focus and on Enter (messages through the Prompter, emptied and
// focused again as the verdict says), and a double click empties it. TimeRangePanel holds one; the
// report parameters window places one in its "当前记录文件" group with its own row labels and reads it
// for the report run.
class DateRangeFields : public QWidget {
  Q_OBJECT

 public:
  enum End { Start = 0, Finish = 1 };

  DateRangeFields(ui::Prompter& prompter, const QString& startLabel, const QString& endLabel,
                  QWidget* parent = nullptr);

  void setTexts(const DateFieldGroup& start, const DateFieldGroup& end);
  DateFieldGroup start() const { return texts(Start); }
  DateFieldGroup end() const { return texts(Finish); }
  // True when a field is empty as it stands (a text of blanks is not empty).
  bool anyEmpty() const;
  // The first stored record's time in the start row, the last one's in the end row (plain numbers,
  // year 2000 + yy); nothing without records.
  void showStoreSpan(const RecordStore& store);

  void setFieldsEnabled(bool enabled);

  // One edit: `which` of Start/Finish, `part` 0..4 for year, month, day, hour, minute.
  QLineEdit& field(End which, int part) const { return *fields_[which][part]; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  DateFieldGroup texts(End which) const;
  void validate(QLineEdit& edit);
  DateFieldKind kindOf(const QLineEdit& edit) const;

  ui::Prompter& prompter_;
  std::array<std::array<QLineEdit*, 5>, 2> fields_{};
  // Set while a field takes the focus back after a failed check, so the field that had just got the
  // focus is not checked on the way.
  bool refocusing_ = false;
};

}  // namespace pq::history
