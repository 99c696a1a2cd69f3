#pragma once

#include <QPixmap>
#include <QString>

namespace pq {

// The pictures of the report window's and the viewer's tool buttons, drawn with QPainter like the
// main window's (no image files).
enum class ReportTool {
  OpenReport,
  SaveReport,
  ExportPdf,
  ExportSheet,
  Print,
  PrinterSetup,
  ZoomIn,
  ZoomOut,
  ZoomToWidth,
  ZoomToFit,
  ActualSize,
  FirstPage,
  PreviousPage,
  NextPage,
  LastPage,
  Close,
};

QPixmap reportToolPicture(ReportTool tool, int size);
// A phase button's picture: its phase text ("Ua" .. "Ic") on the phase's colour.
QPixmap phaseToolPicture(const QString& phase, int size);

}  // namespace pq
