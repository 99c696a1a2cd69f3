#pragma once

#include <QDialog>
#include <array>

#include "report/ui/ReportFlow.h"
#include "statistics/ReportParameters.h"
#include "statistics/ReportRun.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pq {

class RecordStore;
namespace history {
class DateRangeFields;
}
namespace ui {
class BusyAnimation;
class Prompter;
}  // namespace ui

// The report parameters window (TForm13, "电能质量参数设置"): the loaded record file and the span of
// the statistics, the parameters of the limits and the page header, and the six report buttons.
// Its edits mirror ReportParameters, which decides everything; the window copies the edits in
// before a report and shows the parameters again after fillFromStore and a reload.
class TForm13 : public QDialog, public ReportRunListener {
  Q_OBJECT

 public:
  TForm13(RecordStore& store, ui::Prompter& prompter, QWidget* parent = nullptr);
  ~TForm13() override;

  ReportParameters& parameters() { return parameters_; }
  ReportFlow& flow() { return flow_; }

  // The window's state as it shows it: fillFromStore when it becomes active, then the edits.
  void activated();

  void showMessage(const char* text) override;
  void busyStarted() override;
  void busyFinished() override;

 protected:
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* addField(QGroupBox* group, int row, const QString& label, const QString& unit = {});
  void buildFileGroup();
  void buildParameterGroup();
  void buildReportGroup();
  void showParameters();
  void takeParameters();
  void reopenRecordFile();
  void report(ReportKind kind);

  RecordStore& store_;
  ui::Prompter& prompter_;
  ReportParameters parameters_;
  ReportFlow flow_;
  // Set when the window lost the activation to one of its own message boxes or file dialogs, after
  // which it keeps its fields instead of refilling them from the store.
  bool lostToOwnBox_ = false;

  QGroupBox* GroupBox1;
  QGroupBox* GroupBox2;
  QGroupBox* GroupBox3;
  QLineEdit* Edit2;
  history::DateRangeFields* dateFields_;
  QPushButton* Button9;
  QLineEdit* Edit1;
  QLineEdit* Edit3;
  QComboBox* ComboBox1;
  QLineEdit* Edit9;
  QLineEdit* Edit10;
  QLineEdit* Edit4;
  QLineEdit* Edit5;
  QLineEdit* Edit6;
  QLineEdit* Edit7;
  QLineEdit* Edit8;
  QLabel* busyText_;
  ui::BusyAnimation* Animate1;
};

}  // namespace pq
