#include <gtest/gtest.h>

#include "app/ErrorReportingApplication.h"
#include "support/ui/UiTestSupport.h"

// Window tests run inside the program's own application object, so that errors escaping a handler
// reach the central error report as they do in the program. Without a display they run offscreen.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  pq::app::ErrorReportingApplication app(argc, argv, pq::test::centralErrorReport());
  QApplication::setApplicationName(QStringLiteral("电能质量分析系统"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
