#include <sys/stat.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QGuiApplication>

#include <iostream>

#include "cli/ReportOutputs.h"
#include "pages/ui/ReportRendering.h"

namespace pq::cli {

namespace {

// Fonts need a GUI application; the command line runs without a screen.
void ensureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // Qt falls back to this folder anyway, but warns on stderr, where only messages belong.
    const QByteArray folder = "/tmp/runtime-" + QByteArray::number(::getuid());
    ::mkdir(folder.constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", folder);
  }
  static int argc = 1;
  static char name[] = "pqdesk-cli";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

}  // namespace

bool writeRenderedOutputs(const Arguments& arguments, const std::vector<ReportPage>& pages,
                          std::size_t pngPage) {
  ensureGuiApplication();
  bool ok = true;
  std::string error;
  if (const auto path = arguments.text("pdf"); path && !writeReportPdf(*path, pages, error)) {
    std::cerr << *path << ": " << error << '\n';
    ok = false;
  }
  if (const auto path = arguments.text("png"); path && !writeReportPng(*path, pages.at(pngPage), error)) {
    std::cerr << *path << ": " << error << '\n';
    ok = false;
  }
  return ok;
}

bool writeRenderedDocx(const Arguments& arguments, const ReportDocument& document) {
  ensureGuiApplication();
  const auto path = arguments.text("docx");
  if (!path) return true;
  std::string error;
  if (writeReportDocx(*path, document, error)) return true;
  std::cerr << *path << ": " << error << '\n';
  return false;
}

}  // namespace pq::cli
