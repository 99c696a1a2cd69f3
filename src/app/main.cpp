#include <QFont>
#include <QScreen>

#include "app/ApplicationTitle.h"
#include "app/ErrorReportingApplication.h"
#include "app/MainWindow.h"
#include "base/FileSizeSignal.h"
#include "ui/QtPrompter.h"
#include "users/UserDataModule.h"
#include "users/UserDatabaseSetup.h"
#include "users/UserMessages.h"

// Start-up order: application and title, main window (record store defaults), user-database module
// (whose failure is reported before any window shows), event loop. The login runs when the main
// window is first shown.
int main(int argc, char** argv) {
  pq::ignoreFileSizeSignal();
  pq::ui::QtPrompter prompter;
  pq::app::ErrorReportingApplication application(argc, argv, prompter);
  QApplication::setApplicationName(pq::app::kApplicationTitle);
  QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));

  pq::TForm1 mainWindow(prompter);
  pq::TDM database(pq::defaultUserDatabasePath());
  if (!database.connected()) {
    prompter.showWarning(nullptr, pq::users::messages::kConnectionFailedCaption,
                         pq::users::messages::kConnectionFailed);
  }
  mainWindow.setUserDatabase(database);
  // Without a window manager "maximised" means nothing; filling the screen first looks the same.
  mainWindow.setGeometry(mainWindow.screen()->availableGeometry());
  mainWindow.showMaximized();
  return application.exec();
}
