#pragma once

#include <QWidget>

#include "history/RecordGridTexts.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace pq {
class RecordStore;
}
namespace pq::ui {
class Prompter;
}

namespace pq::history {

class ChartNavigation;
class PhasorDiagramWidget;
class RecordGrid;
class SpectrumChart;

// Page "记录查阅" of the history window: one record at a time with its grid of values, spectrum and
// phasor diagram, navigation through the records, and deleting one record or a run of them. Every
// deletion rewrites the record file at once.
class RecordBrowserPage : public QWidget {
  Q_OBJECT

 public:
  RecordBrowserPage(RecordStore& store, ui::Prompter& prompter, QWidget* parent = nullptr);

  void enterBrowserPage();
  void showRecord();
  void showEmpty();
  void deleteCurrent();
  void deleteBatch();

  int currentIndex() const { return currentIndex_; }

 signals:
  // The store holds no record any more: the window's other pages have nothing to show.
  void lastRecordGone();

 private:
  QWidget* buildSpectrumGroup();
  QWidget* buildPhasorGroup();
  QWidget* buildOperationGroup();
  QWidget* buildMiddleRow();
  void goTo(int index);
  void afterDeletion();
  void rewriteFile();
  void setOperationsEnabled(bool enabled);

  RecordStore& store_;
  ui::Prompter& prompter_;
  RecordGridTexts texts_;
  int currentIndex_ = 0;
  int spectrumChannel_ = 0;

  SpectrumChart* spectrum_;
  ChartNavigation* spectrumNavigation_;
  QButtonGroup* channels_;
  QCheckBox* threeD_;
  PhasorDiagramWidget* phasors_;
  QLineEdit* position_;
  QSlider* trackBar_;
  QLabel* trackMin_;
  QLabel* trackMax_;
  QPushButton* first_;
  QPushButton* previous_;
  QPushButton* next_;
  QPushButton* last_;
  QPushButton* deleteOne_;
  QLineEdit* date_;
  QLineEdit* startField_;
  QLineEdit* endField_;
  QPushButton* deleteRun_;
  RecordGrid* grid_;
};

}  // namespace pq::history
