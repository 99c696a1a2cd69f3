#include "survey/ui/SurveyProgressWindow.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/ButtonKeys.h"

namespace pq {

namespace {

constexpr int kBarSteps = 1000;

int steps(double share) { return static_cast<int>(std::lround(std::clamp(share, 0.0, 1.0) * kBarSteps)); }

}  // namespace

// Calls come on the worker thread: each is posted to the window, which draws it when its thread
// comes to it; a call that arrives after the window has gone is dropped by Qt.
class SurveyProgressWindow::Listener : public SurveyListener {
 public:
  explicit Listener(SurveyProgressWindow& window) : window_(window) {}

  void fileStarted(int index, int count, const std::string& path) override {
    const QString name = QString::fromStdString(path);
    QMetaObject::invokeMethod(
        &window_, [window = &window_, index, count, name] { window->showFile(index, count, name); },
        Qt::QueuedConnection);
  }
  void progress(double ofFile, double ofSurvey) override {
    QMetaObject::invokeMethod(
        &window_, [window = &window_, ofFile, ofSurvey] { window->showProgress(ofFile, ofSurvey); },
        Qt::QueuedConnection);
  }
  bool cancelRequested() override { return window_.cancel_.load(std::memory_order_relaxed); }

 private:
  SurveyProgressWindow& window_;
};

SurveyProgressWindow::SurveyProgressWindow(Opener open, QWidget* parent)
    : QDialog(parent),
      open_(std::move(open)),
      fileLabel_(new QLabel(this)),
      fileBar_(new QProgressBar(this)),
      totalLabel_(new QLabel(QStringLiteral("全部文件"), this)),
      totalBar_(new QProgressBar(this)),
      cancelButton_(new QPushButton(QStringLiteral("取消"), this)) {
  setWindowTitle(QStringLiteral("正在打开测量任务"));
  setModal(true);
  fileLabel_->setObjectName("fileLabel");
  fileBar_->setObjectName("fileBar");
  totalLabel_->setObjectName("totalLabel");
  totalBar_->setObjectName("totalBar");
  cancelButton_->setObjectName("cancelButton");
  for (QProgressBar* bar : {fileBar_, totalBar_}) {
    bar->setRange(0, kBarSteps);
    bar->setValue(0);
  }
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fileLabel_);
  layout->addWidget(fileBar_);
  layout->addWidget(totalLabel_);
  layout->addWidget(totalBar_);
  layout->addLayout(buttons);
  setMinimumWidth(460);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  ui::keepKeysToFieldsAndButtons(*this, ui::EscapeKey::Closes);
}

SurveyProgressWindow::~SurveyProgressWindow() {
  if (worker_.joinable()) {
    cancel_ = true;
    worker_.join();
  }
}

std::optional<AssessedSurvey> SurveyProgressWindow::run() {
  Listener listener(*this);
  worker_ = std::thread([this, &listener] {
    try {
      survey_ = open_(listener);
    } catch (...) {
      failure_ = std::current_exception();
    }
    QMetaObject::invokeMethod(
        this, [this] { finish(); }, Qt::QueuedConnection);
  });
  exec();
  // The loop may also end without the window, when the program quits: the survey stops then.
  if (!finished_) cancel_ = true;
  worker_.join();
  if (failure_) std::rethrow_exception(failure_);
  if (cancel_) return std::nullopt;
  return std::move(survey_);
}

void SurveyProgressWindow::done(int result) {
  if (finished_) {
    QDialog::done(result);
    return;
  }
  cancel_ = true;
  cancelButton_->setEnabled(false);
  cancelButton_->setText(QStringLiteral("正在取消…"));
}

void SurveyProgressWindow::showFile(int index, int count, const QString& path) {
  fileLabel_->setText(
      QStringLiteral("文件 %1 / %2：%3").arg(index + 1).arg(count).arg(QFileInfo(path).fileName()));
  fileBar_->setValue(0);
}

void SurveyProgressWindow::showProgress(double ofFile, double ofSurvey) {
  fileBar_->setValue(steps(ofFile));
  totalBar_->setValue(steps(ofSurvey));
}

void SurveyProgressWindow::finish() {
  finished_ = true;
  done(cancel_ ? QDialog::Rejected : QDialog::Accepted);
}

}  // namespace pq
