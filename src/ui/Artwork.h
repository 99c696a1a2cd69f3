#pragma once

#include <QImage>
#include <QPixmap>

namespace pq::ui {

// Pictures of the program's own making, drawn with QPainter so no image files are needed.
enum class Picture {
  LiveValues,
  LiveWaveform,
  LivePhasor,
  LiveSpectrum,
  OpenRecordFile,
  BrowseRecords,
  HarmonicTrend,
  ComponentTrend,
  DeviationTrend,
  PowerTrend,
  NewReport,
  ReportHistory,
  Help,
  PasswordManagement,
  Exit,
  PhaseA,
  PhaseB,
  PhaseC,
};

// A square toolbar picture of `size` pixels: a rounded tile in its group's colour with a white sign.
QPixmap toolbarPicture(Picture picture, int size);

// The main window's background: three-phase waves over a dark blue field with the title.
QImage backgroundPicture(const QString& title);

// The import window's side panel: a record file turning into a table of records.
QPixmap importPanelPicture(QSize size);

}  // namespace pq::ui
