#pragma once

#include <QTimer>
#include <QWidget>

namespace pq::ui {

// The busy animation of the report windows: sheets of paper flying from one folder to another, as
// the system's file-copy animation shows. It moves only while the event loop runs, so a caller that
// works in one piece calls start() and lets events through between its steps.
class BusyAnimation : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFrames = 32;

  BusyAnimation(QSize size, QWidget* parent = nullptr);

  // Shows the animation from its first frame and paints it at once; stop() hides it.
  void start();
  void stop();
  bool running() const { return timer_.isActive(); }
  int frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QTimer timer_;
  int frame_ = 0;
};

}  // namespace pq::ui
