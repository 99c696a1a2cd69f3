// pqdesk-icon OUTDIR: writes the application icon, the program's own waveform tile, as
// OUTDIR/<n>x<n>/apps/org.pqdesk.PQDesk.png at the sizes desktops look for (the hicolor theme's
// layout), so the package carries the same picture as the toolbar.
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

#include "ui/Artwork.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: pqdesk-icon OUTDIR\n", stderr);
    return 2;
  }
  QGuiApplication application(argc, argv);
  const QString root = QString::fromLocal8Bit(argv[1]);
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/org.pqdesk.PQDesk.png");
    if (!pq::ui::toolbarPicture(pq::ui::Picture::LiveWaveform, size).save(path, "PNG")) {
      std::fprintf(stderr, "pqdesk-icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
