#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <stdexcept>

#include "base/ConversionError.h"
#include "support/ui/UiTestSupport.h"

namespace pq {
namespace {

class FailingReceiver : public QObject {
 public:
  bool event(QEvent*) override { throw ConversionError("'12a' is not a valid floating point value"); }
};

TEST(CentralErrorReport, ShowsAnErrorThatEscapesAnEventHandlerAndGoesOn) {
  test::centralErrorReport().log.clear();
  FailingReceiver receiver;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&receiver, &event);
  QCoreApplication::sendEvent(&receiver, &event);
  EXPECT_EQ(test::centralErrorReport().log,
            QStringList({"error: '12a' is not a valid floating point value",
                         "error: '12a' is not a valid floating point value"}));
}

}  // namespace
}  // namespace pq
