#pragma once

class QPainter;
class QPrinter;

namespace pq::ui {

// Starts and ends a print job; a job that cannot start (no printer, a print-to-file path that
// cannot be written) or cannot be finished throws an error for the error report, so that it is
// never dropped without a word as if it had been printed.
void beginPrinting(QPainter& painter, QPrinter& printer);
void endPrinting(QPainter& painter);

}  // namespace pq::ui
