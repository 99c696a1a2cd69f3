#include "ui/PrintJob.h"

#include <QPainter>
#include <QPrinter>
#include <stdexcept>

namespace pq::ui {

namespace {
constexpr char kPrinterUnavailable[] = "无法打印：打印机不可用。";
}

void beginPrinting(QPainter& painter, QPrinter& printer) {
  if (!painter.begin(&printer)) throw std::runtime_error(kPrinterUnavailable);
}

void endPrinting(QPainter& painter) {
  if (!painter.end()) throw std::runtime_error(kPrinterUnavailable);
}

}  // namespace pq::ui
