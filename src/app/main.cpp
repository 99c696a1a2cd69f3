#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("PQ Desk 2.7"));
  auto* label = new QLabel(QStringLiteral("电能质量分析软件"), &window);
  label->setAlignment(Qt::AlignCenter);
  window.setCentralWidget(label);
  window.resize(800, 600);
  window.show();
  return app.exec();
}
