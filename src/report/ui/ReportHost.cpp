#include "report/ui/ReportHost.h"

#include "report/ui/ReportViewer.h"

namespace pq {

void TForm9::preview(ui::Prompter& prompter, QWidget* parent) {
  ReportViewer viewer({page_}, prompter, parent);
  viewer.exec();
}

}  // namespace pq
