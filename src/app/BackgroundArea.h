#pragma once

#include <QImage>
#include <QWidget>

namespace pq::app {

// The main window's client area below the toolbar: the background picture stretched to the area.
class BackgroundArea : public QWidget {
 public:
  BackgroundArea(QImage picture, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};

}  // namespace pq::app
