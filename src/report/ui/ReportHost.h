#pragma once

#include "pages/ReportPage.h"

class QWidget;

namespace pq {

namespace ui {
class Prompter;
}

// The empty report host (TForm9) behind the main window's "历史报表": one A4 portrait page with
// 10 mm margins and no content. Its preview is the report viewer, from which saved report files
// are loaded.
class TForm9 {
 public:
  // Runs the viewer on the host's page and returns when it is closed.
  void preview(ui::Prompter& prompter, QWidget* parent);

 private:
  ReportPage page_;
};

}  // namespace pq
