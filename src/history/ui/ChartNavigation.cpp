#include "history/ui/ChartNavigation.h"

namespace pq::history {

ChartNavigation::ChartNavigation(QCustomPlot& chart, Readout readout)
    : QObject(&chart), chart_(chart), readout_(std::move(readout)) {
  chart_.setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  chart_.axisRect()->setRangeDrag(Qt::Horizontal);
  chart_.axisRect()->setRangeZoom(Qt::Horizontal);
  chart_.setMouseTracking(true);

  chart_.addLayer(QStringLiteral("readout"), chart_.layer(QStringLiteral("legend")), QCustomPlot::limAbove);
  layer_ = chart_.layer(QStringLiteral("readout"));
  layer_->setMode(QCPLayer::lmBuffered);
  text_ = new QCPItemText(&chart_);
  text_->setLayer(layer_);
  text_->setClipToAxisRect(false);
  text_->position->setType(QCPItemPosition::ptAxisRectRatio);
  text_->position->setAxisRect(chart_.axisRect());
  text_->position->setCoords(0, 0);
  text_->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
  text_->setPadding(QMargins(4, 2, 4, 2));
  text_->setBrush(QColor(255, 255, 225, 230));
  text_->setPen(QPen(Qt::gray));
  text_->setVisible(false);
  chart_.installEventFilter(this);
  rememberHome();
}

void ChartNavigation::rememberHome() {
  homeKeys_ = chart_.xAxis->range();
  homeValues_ = chart_.yAxis->range();
}

void ChartNavigation::clearReadout() { text_->setVisible(false); }

QString ChartNavigation::readoutText() const { return text_->visible() ? text_->text() : QString(); }

bool ChartNavigation::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &chart_) return false;
  switch (event->type()) {
    case QEvent::MouseMove:
      follow(static_cast<QMouseEvent*>(event)->position());
      break;
    case QEvent::Leave:
      if (text_->visible()) {
        text_->setVisible(false);
        layer_->replot();
      }
      break;
    case QEvent::MouseButtonDblClick:
      goHome();
      return true;
    default:
      break;
  }
  return false;
}

void ChartNavigation::follow(const QPointF& position) {
  const bool inside = chart_.axisRect()->rect().contains(position.toPoint());
  const QString text =
      inside ? readout_(chart_.xAxis->pixelToCoord(position.x()), chart_.yAxis->pixelToCoord(position.y()))
             : QString();
  const bool wasVisible = text_->visible();
  if (text.isEmpty() && !wasVisible) return;
  if (text == text_->text() && wasVisible) return;
  text_->setText(text);
  text_->setVisible(!text.isEmpty());
  layer_->replot();
}

void ChartNavigation::goHome() {
  chart_.xAxis->setRange(homeKeys_);
  chart_.yAxis->setRange(homeValues_);
  chart_.replot();
}

}  // namespace pq::history
