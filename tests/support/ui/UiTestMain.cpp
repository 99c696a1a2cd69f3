#include <gtest/gtest.h>

#include <QTemporaryFile>

#include "app/ErrorReportingApplication.h"
#include "support/ui/UiTestSupport.h"
#include "ui/WindowPlacement.h"

// Window tests run inside the program's own application object, so that errors escaping a handler
// reach the central error report as they do in the program, and with its fitting of windows to the
// screen. Without a display they run offscreen, on a screen of 1366 x 768, the smallest the program is
// made for, so that a window that does not fit it shows in the tests.
int main(int argc, char** argv) {
  QTemporaryFile screens;
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen") {
    if (screens.open()) {
      screens.write(R"({"screens": [{"name": "small", "x": 0, "y": 0, "width": 1366, "height": 768,
                        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
      screens.flush();
      qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    } else {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
  }
  pq::app::ErrorReportingApplication app(argc, argv, pq::test::centralErrorReport());
  app.installEventFilter(new pq::ui::ScreenFitting(&app));
  QApplication::setApplicationName(QStringLiteral("电能质量分析系统"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
