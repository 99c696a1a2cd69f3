#include "support/ui/UiTestSupport.h"

#include <QTest>

namespace pq::test {

ui::ScriptedPrompter& centralErrorReport() {
  static ui::ScriptedPrompter prompter;
  return prompter;
}

void showActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  if (!QTest::qWaitForWindowActive(&window)) throw std::runtime_error("window did not become active");
}

}  // namespace pq::test
