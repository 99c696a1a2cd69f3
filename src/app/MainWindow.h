#pragma once

#include <cstdint>

#include <QList>
#include <QMainWindow>
#include <string>

#include "live/LiveProtocol.h"
#include "records/RecordStore.h"
#include "ui/Artwork.h"

class QAction;
class QMenu;
class QToolBar;

namespace pq {

class TDM;
namespace ui {
class Prompter;
}

// The main window (TForm1): owner of the record store, toolbar and menu bar of every command. When it
// is first shown it runs the login; the history commands are enabled exactly when the store holds
// records, checked whenever the window becomes active and after the import window closes.
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
  bool loginDone_ = false;
  std::string startupFile_;
  QList<QAction*> historyCommands_;
  QList<QAction*> assessmentCommands_;  // need records as the history commands do
  QAction* passwordToolButton_ = nullptr;
  QMenu* passwordMenu_ = nullptr;
};

}  // namespace pq
