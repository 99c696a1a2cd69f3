#include <QFile>
#include <QFont>
#include <QScreen>
#include <cstdio>
#include <optional>

#include "app/ErrorReportingApplication.h"
#include "app/MainWindow.h"
#include "app/QtTranslations.h"
#include "app/StartOptions.h"
#include "base/ApplicationTitle.h"
#include "base/FileSizeSignal.h"
#include "ui/QtPrompter.h"
#include "ui/WindowPlacement.h"
#include "users/UserDataModule.h"
#include "users/UserDatabaseSetup.h"
#include "users/UserMessages.h"

namespace {

// --help, --version and a wrong command line are answered on the terminal; nullopt when the
// program is to run.
std::optional<int> answerOnTerminal(const pq::app::StartOptions& options) {
  using Answer = pq::app::StartOptions::Answer;
  switch (options.answer) {
    case Answer::Help:
      std::fputs(pq::app::startHelpText().c_str(), stdout);
      return 0;
    case Answer::Version:
      std::fputs(pq::app::startVersionText().c_str(), stdout);
      return 0;
    case Answer::Wrong:
      std::fprintf(stderr, "pqdesk: %s\n%s", options.error.c_str(), pq::app::kStartUsage);
      return 2;
    case Answer::Run:
      break;
  }
  return std::nullopt;
}

}  // namespace

// Start-up order: application and title, main window (record store defaults), user-database module
// (whose failure is reported before any window shows), event loop. The login runs when the main
// window is first shown.
int main(int argc, char** argv) {
  pq::ignoreFileSizeSignal();
  // Before the application object, which needs a display: --help and --version work without one.
  const pq::app::StartOptions early = pq::app::parseStartOptions({argv + 1, argv + argc});
  if (early.answer == pq::app::StartOptions::Answer::Help ||
      early.answer == pq::app::StartOptions::Answer::Version)
    return *answerOnTerminal(early);
  pq::ui::QtPrompter prompter;
  pq::app::ErrorReportingApplication application(argc, argv, prompter);
  // Qt has taken out its own options by now; what is left names the files to open.
  QStringList left = QApplication::arguments();
  left.removeFirst();
  std::vector<std::string> args;
  for (const QString& arg : left) args.push_back(QFile::encodeName(arg).toStdString());
  const pq::app::StartOptions options = pq::app::parseStartOptions(args);
  if (const auto status = answerOnTerminal(options)) return *status;

  QApplication::setApplicationName(pq::app::kApplicationTitle);
  QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 9));
  pq::app::installQtTranslations(application);
  application.installEventFilter(new pq::ui::ScreenFitting(&application));

  pq::TForm1 mainWindow(prompter);
  pq::TDM database(pq::defaultUserDatabasePath());
  if (!database.connected()) {
    prompter.showWarning(nullptr, pq::users::messages::kConnectionFailedCaption,
                         pq::users::messages::kConnectionFailed);
  }
  mainWindow.setUserDatabase(database);
  if (options.files.size() == 1) mainWindow.openAfterLogin(options.files.front());
  if (options.files.size() > 1) mainWindow.openSurveyAfterLogin(options.files);
  // Without a window manager "maximised" means nothing; filling the screen first looks the same.
  mainWindow.setGeometry(mainWindow.screen()->availableGeometry());
  mainWindow.showMaximized();
  return application.exec();
}
