#pragma once

#include <cstdint>

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <string>
#include <vector>

#include "live/LiveProtocol.h"
#include "records/RecordStore.h"
#include "timerange/Clock.h"
#include "ui/Artwork.h"

class QAction;
class QMenu;
class QToolBar;

namespace pq {

class SurveyWindow;
class TDM;
namespace ui {
class Prompter;
}

// The main window (TForm1): owner of the record store, toolbar and menu bar of every command. When it
// is first shown it runs the login; the history commands are enabled exactly when the store holds
// records, checked whenever the window becomes active and after the import window closes, and the
// title then names the file the records come from.
//
// A survey of several record files ("打开测量任务") reads them through the store and leaves it empty;
// its window stays open beside this one, and a day chosen in it is imported into the store as
// "打开记录" would, so that the history and report commands work on that day.
class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(ui::Prompter& prompter, QWidget* parent = nullptr);

  // The user-database module, created after this window; the login and user windows use it.
  void setUserDatabase(TDM& database) { database_ = &database; }
  RecordStore& store() { return store_; }
  // A file named on the command line, opened once the login has let the user in: a report file
  // (namesReportFile) in the report viewer, any other file imported in the import window.
  void openAfterLogin(const std::string& path) { startupFile_ = path; }
  // Record files or folders named on the command line, opened as one survey once the login has let
  // the user in.
  void openSurveyAfterLogin(std::vector<std::string> paths) { startupSurvey_ = std::move(paths); }
  // The window of the survey opened last, while it is open.
  SurveyWindow* surveyWindow() const;

  void updateHistoryCommands();
  // The "密码管理" submenu and toolbar button, switched by the login according to the role.
  void setPasswordCommandsEnabled(bool enabled);

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QAction* addToolButton(QToolBar& bar, ui::Picture picture, const QString& hint, int size);
  void buildToolBar();
  void buildMenus();
  // Connects a menu item or toolbar button to the handler of its command.
  void command(QAction* action, void (TForm1::*handler)());
  // Connects a history command to opening the history window on `page` (0..4).
  void historyCommand(QAction* action, int page);
  void liveCommand(QAction* action, live::LivePage page);
  TDM& database();

  void FormShow();
  void openImportWindow();
  void chooseSurvey();
  // Opens the survey and shows its window in place of the one shown before.
  void runSurvey(const std::vector<std::string>& paths);
  void openHistoryWindow(int page);
  // The assessment window on its tab (AssessmentWindow::Tab); an event it chooses opens the voltage
  // deviation trend around it.
  void openAssessmentWindow(int tab);
  void openTrendAround(std::int64_t first, std::int64_t last);
  void openLiveWindow(live::LivePage page);
  void openReportParametersWindow();
  void openReportHistory();
  void runImportWindow(const std::string& path);
  void openStartupFile(const std::string& path);
  void openAddUserWindow();
  void openChangePasswordWindow();
  void openDeleteUserWindow();

  ui::Prompter& prompter_;
  TDM* database_ = nullptr;
  RecordStore store_;
  // The survey window outlives the call that opens it, and so does the clock of its windows.
  SystemClock clock_;
  bool loginDone_ = false;
  std::string startupFile_;
  std::vector<std::string> startupSurvey_;
  QPointer<SurveyWindow> surveyWindow_;
  QList<QAction*> historyCommands_;
  QList<QAction*> assessmentCommands_;  // need records as the history commands do
  QAction* passwordToolButton_ = nullptr;
  QMenu* passwordMenu_ = nullptr;
};

}  // namespace pq
