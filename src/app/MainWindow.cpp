#include "app/MainWindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <utility>

#include "app/BackgroundArea.h"
#include "app/StartOptions.h"
#include "assessment/ui/AssessmentWindow.h"
#include "base/ApplicationTitle.h"
#include "history/ui/HistoryWindow.h"
#include "live/ui/LiveDataWindow.h"
#include "records/ui/RecordImportWindow.h"
#include "report/ui/ReportHost.h"
#include "report/ui/ReportParametersWindow.h"
#include "report/ui/ReportViewer.h"
#include "survey/ui/SurveyOpenFlow.h"
#include "survey/ui/SurveyWindow.h"
#include "timerange/Clock.h"
#include "timerange/EpochSeconds.h"
#include "ui/ErrorReport.h"
#include "ui/Prompter.h"
#include "users/UserDatabaseError.h"
#include "users/UserMessages.h"
#include "users/ui/AddUserWindow.h"
#include "users/ui/ChangePasswordWindow.h"
#include "users/ui/DeleteUserWindow.h"
#include "users/ui/LoginWindow.h"

namespace pq {

using ui::Picture;

TForm1::TForm1(ui::Prompter& prompter, QWidget* parent) : QMainWindow(parent), prompter_(prompter) {
  store_.resetDefaults();
  setCentralWidget(new app::BackgroundArea(ui::backgroundPicture(app::kApplicationTitle), this));
  buildToolBar();
  buildMenus();
  updateHistoryCommands();
}

void TForm1::updateHistoryCommands() {
  const bool hasRecords = store_.recordCount() != 0;
  for (QAction* command : historyCommands_) command->setEnabled(hasRecords);
  for (QAction* command : assessmentCommands_) command->setEnabled(hasRecords);
  const QString title = QStringLiteral("%1 %2").arg(app::kApplicationTitle, app::kVersion);
  setWindowTitle(hasRecords ? title + " - " + QFile::decodeName(store_.fileName.c_str()) : title);
}

void TForm1::setPasswordCommandsEnabled(bool enabled) {
  passwordMenu_->menuAction()->setEnabled(enabled);
  passwordToolButton_->setEnabled(enabled);
}

void TForm1::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!loginDone_) {
    loginDone_ = true;
    // The login runs from the event loop, so that ending the program ends the loop.
    QTimer::singleShot(0, this, [this] { ui::runReportingErrors(prompter_, this, [this] { FormShow(); }); });
  }
}

void TForm1::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) updateHistoryCommands();
}

QAction* TForm1::addToolButton(QToolBar& bar, Picture picture, const QString& hint, int size) {
  auto* action = new QAction(QIcon(ui::toolbarPicture(picture, size - 4)), hint, this);
  action->setObjectName(hint.isEmpty() ? QString() : QStringLiteral("tool:") + hint);
  auto* button = new QToolButton(&bar);
  button->setDefaultAction(action);
  button->setFixedSize(size, size);
  button->setIconSize(QSize(size - 4, size - 4));
  button->setAutoRaise(true);
  bar.addWidget(button);
  return action;
}

void TForm1::buildToolBar() {
  auto* bar = new QToolBar(this);
  bar->setObjectName("ToolBar1");
  bar->setMovable(false);
  bar->setFloatable(false);
  bar->setFixedHeight(45);
  bar->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, bar);
  bar->toggleViewAction()->setVisible(false);

  liveCommand(addToolButton(*bar, Picture::LiveValues, QStringLiteral("实时测试参量"), 35),
              live::LivePage::values);
  liveCommand(addToolButton(*bar, Picture::LiveWaveform, QStringLiteral("实时波形"), 35),
              live::LivePage::waveform);
  liveCommand(addToolButton(*bar, Picture::LivePhasor, QStringLiteral("实时矢量图"), 35),
              live::LivePage::waveform);
  liveCommand(addToolButton(*bar, Picture::LiveSpectrum, QStringLiteral("实时频谱图"), 35),
              live::LivePage::spectrum);
  bar->addSeparator();
  connect(addToolButton(*bar, Picture::OpenRecordFile, QStringLiteral("打开记录文件"), 35),
          &QAction::triggered, this, &TForm1::openImportWindow);
  historyCommands_ << addToolButton(*bar, Picture::BrowseRecords, QStringLiteral("历史记录查阅"), 35)
                   << addToolButton(*bar, Picture::HarmonicTrend, QStringLiteral("谐波趋势曲线"), 35)
                   << addToolButton(*bar, Picture::ComponentTrend, QStringLiteral("分量及频率趋势曲线"), 35)
                   << addToolButton(*bar, Picture::DeviationTrend, QStringLiteral("电压偏差趋势曲线"), 35)
                   << addToolButton(*bar, Picture::PowerTrend, QStringLiteral("功率及功率因数趋势曲线"), 35);
  for (int page = 0; page < 5; ++page) historyCommand(historyCommands_[page], page);
  bar->addSeparator();
  command(addToolButton(*bar, Picture::NewReport, QStringLiteral("新建报表"), 35),
          &TForm1::openReportParametersWindow);
  command(addToolButton(*bar, Picture::ReportHistory, QStringLiteral("历史报表"), 35), &TForm1::openReportHistory);
  bar->addSeparator();
  addToolButton(*bar, Picture::Help, QStringLiteral("帮助"), 33);
  passwordToolButton_ = addToolButton(*bar, Picture::PasswordManagement, QStringLiteral("密码管理"), 33);
  command(passwordToolButton_, &TForm1::openAddUserWindow);
  connect(addToolButton(*bar, Picture::Exit, QStringLiteral("退出系统"), 33), &QAction::triggered, qApp,
          &QCoreApplication::quit);
  // Three decorative phase badges close the strip; they carry neither hint nor action.
  auto* spacer = new QWidget(bar);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  bar->addWidget(spacer);
  for (Picture badge : {Picture::PhaseA, Picture::PhaseB, Picture::PhaseC})
    addToolButton(*bar, badge, {}, 35);
}

void TForm1::buildMenus() {
  QMenuBar* bar = menuBar();
  QAction* liveData = bar->addAction(QStringLiteral("实时数据"));
  liveData->setObjectName(QStringLiteral("menu:实时数据"));
  liveCommand(liveData, live::LivePage::values);

  QMenu* history = bar->addMenu(QStringLiteral("历史数据"));
  QAction* open = history->addAction(QStringLiteral("打开记录"));
  open->setObjectName(QStringLiteral("menu:打开记录"));
  command(open, &TForm1::openImportWindow);
  QAction* survey = history->addAction(QStringLiteral("打开测量任务"));
  survey->setObjectName(QStringLiteral("menu:打开测量任务"));
  command(survey, &TForm1::chooseSurvey);
  for (const char* item :
       {"查阅记录", "谐波趋势曲线", "分量及频率趋势曲线", "电压偏差趋势曲线", "功率及功率因数趋势曲线"}) {
    QAction* command = history->addAction(QString::fromUtf8(item));
    command->setObjectName(QStringLiteral("menu:") + command->text());
    historyCommand(command, static_cast<int>(historyCommands_.size() % 5));
    historyCommands_ << command;
  }

  QMenu* assessment = bar->addMenu(QStringLiteral("综合评估"));
  const char* const assessmentItems[] = {"电能质量综合评估", "事件列表"};
  for (int tab = 0; tab < 2; ++tab) {
    QAction* command = assessment->addAction(QString::fromUtf8(assessmentItems[tab]));
    command->setObjectName(QStringLiteral("menu:") + command->text());
    ui::connectReporting(command, &QAction::triggered, this, prompter_, [this, tab] { openAssessmentWindow(tab); });
    assessmentCommands_ << command;
  }

  QMenu* reports = bar->addMenu(QStringLiteral("数据报表"));
  QAction* newReport = reports->addAction(QStringLiteral("新建报表"));
  newReport->setObjectName(QStringLiteral("menu:新建报表"));
  command(newReport, &TForm1::openReportParametersWindow);
  QAction* reportHistory = reports->addAction(QStringLiteral("历史报表"));
  reportHistory->setObjectName(QStringLiteral("menu:历史报表"));
  command(reportHistory, &TForm1::openReportHistory);

  QMenu* system = bar->addMenu(QStringLiteral("系统"));
  passwordMenu_ = system->addMenu(QStringLiteral("密码管理"));
  passwordMenu_->menuAction()->setObjectName(QStringLiteral("menu:密码管理"));
  command(passwordMenu_->addAction(QStringLiteral("设定密码")), &TForm1::openAddUserWindow);
  command(passwordMenu_->addAction(QStringLiteral("修改密码")), &TForm1::openChangePasswordWindow);
  command(passwordMenu_->addAction(QStringLiteral("删除密码")), &TForm1::openDeleteUserWindow);
  connect(system->addAction(QStringLiteral("退出")), &QAction::triggered, qApp, &QCoreApplication::quit);
}

void TForm1::command(QAction* action, void (TForm1::*handler)()) {
  ui::connectReporting(action, &QAction::triggered, this, prompter_, [this, handler] { (this->*handler)(); });
}

void TForm1::historyCommand(QAction* action, int page) {
  ui::connectReporting(action, &QAction::triggered, this, prompter_,
                       [this, page] { openHistoryWindow(page); });
}

void TForm1::liveCommand(QAction* action, live::LivePage page) {
  ui::connectReporting(action, &QAction::triggered, this, prompter_, [this, page] { openLiveWindow(page); });
}

TDM& TForm1::database() {
  if (database_ == nullptr) throw UserDatabaseError(users::messages::kDatabaseNotOpen);
  return *database_;
}

void TForm1::FormShow() {
  TForm5 login(
      database(), prompter_, [this](bool enabled) { setPasswordCommandsEnabled(enabled); }, this);
  login.exec();
  if (login.endsProgram()) {
    QCoreApplication::exit(0);
    return;
  }
  if (!startupFile_.empty()) openStartupFile(std::exchange(startupFile_, {}));
  if (!startupSurvey_.empty()) runSurvey(std::exchange(startupSurvey_, {}));
}

void TForm1::openStartupFile(const std::string& path) {
  if (QFileInfo(QFile::decodeName(path.c_str())).isDir()) {
    runSurvey({path});
  } else if (app::namesReportFile(path)) {
    viewReportFile(QFile::decodeName(path.c_str()), prompter_, this);
  } else {
    runImportWindow(path);
  }
}

void TForm1::openImportWindow() { runImportWindow({}); }

SurveyWindow* TForm1::surveyWindow() const { return surveyWindow_; }

void TForm1::chooseSurvey() {
  const QStringList chosen =
      prompter_.chooseFilesOrFolder(this, QStringLiteral("请选择同一次测量的原始记录文件（*.bin）或文件夹"),
                                    QStringLiteral("*.bin (*.bin);;All files (*)"));
  if (chosen.isEmpty()) return;
  std::vector<std::string> paths;
  for (const QString& path : chosen) paths.push_back(QFile::encodeName(path).toStdString());
  runSurvey(paths);
}

void TForm1::runSurvey(const std::vector<std::string>& paths) {
  // The survey reads its files without the store: a file loaded before stays loaded.
  std::optional<OpenedSurvey> opened = openSurveyFiles(paths, prompter_, this);
  if (!opened) return;
  if (surveyWindow_) surveyWindow_->close();
  auto* window = new SurveyWindow(std::move(*opened), prompter_, clock_, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  connect(window, &SurveyWindow::dayChosen, this, [this, window](const QString& path) {
    ui::runReportingErrors(prompter_, window,
                           [&] { runImportWindow(QFile::encodeName(path).toStdString()); });
  });
  surveyWindow_ = window;
  window->show();
}

void TForm1::runImportWindow(const std::string& path) {
  {
    TForm3 window(store_, prompter_, this);
    if (!path.empty()) window.importWhenShown(path);
    window.exec();
  }
  updateHistoryCommands();
}

void TForm1::openHistoryWindow(int page) {
  {
    TForm4 window(store_, prompter_, clock_, page, this);
    window.exec();
  }
  updateHistoryCommands();
}

void TForm1::openAssessmentWindow(int tab) {
  AssessmentWindow window(store_, prompter_, clock_, static_cast<AssessmentWindow::Tab>(tab), this);
  connect(&window, &AssessmentWindow::eventChosen, this,
          [this](std::int64_t first, std::int64_t last) { openTrendAround(first, last); });
  window.exec();
}

void TForm1::openTrendAround(std::int64_t first, std::int64_t last) {
  constexpr std::int64_t kMargin = AssessmentWindow::kTrendMarginSeconds;
  TForm4 window(store_, prompter_, clock_, TForm4::DeviationTrend, this);
  window.enterWithRange(DateFieldGroup::ofMinute(calendarOfEpochSeconds(first - kMargin)),
                        DateFieldGroup::ofMinute(calendarOfEpochSeconds(last + kMargin)));
  window.exec();
  updateHistoryCommands();
}

void TForm1::openLiveWindow(live::LivePage page) {
  live::TForm10 window(page, prompter_, this);
  // The port did not open and the operator gave up on the settings: the program ends.
  if (window.endsProgram()) {
    QCoreApplication::exit(0);
    return;
  }
  window.exec();
}

void TForm1::openReportParametersWindow() {
  {
    TForm13 window(store_, prompter_, this);
    window.exec();
  }
  updateHistoryCommands();
}

void TForm1::openReportHistory() {
  TForm9 host;
  host.preview(prompter_, this);
}

void TForm1::openAddUserWindow() {
  TForm6 window(database(), prompter_, this);
  window.exec();
}

void TForm1::openChangePasswordWindow() {
  TForm7 window(database(), prompter_, this);
  window.exec();
}

void TForm1::openDeleteUserWindow() {
  TForm8 window(database(), prompter_, this);
  window.exec();
}

}  // namespace pq
