#include <gtest/gtest.h>

#include <QApplication>

// Window tests need a QApplication; without a display they run on the offscreen platform.
int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("电能质量分析"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
