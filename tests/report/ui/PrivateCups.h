#pragma once

#include <sys/types.h>
#include <string>

namespace pq::test {

// A CUPS scheduler of the test process's own: configuration, spool, logs, backends and output in a
// temporary folder, reached through CUPS_SERVER (set before the first use of the printing system).
// It holds two PDF queues: "Office", the default printer, and "Smart_Print", described as "Smart
// Print" (a CUPS queue name cannot hold a blank). Each takes PDF jobs through the scheduler's own
// filters and hands them to a small file backend that drops them into the queue's output folder.
// cups-pdf is not used: it turns every job into PostScript and back, and the PDF it writes has lost
// the text layer of Chinese texts, so nothing could be checked in it.
class PrivateCups {
 public:
  // The scheduler, started on first use; nullptr with `whyNot` set when it cannot run here.
  static PrivateCups* instance(std::string& whyNot);

  ~PrivateCups();
  PrivateCups(const PrivateCups&) = delete;
  PrivateCups& operator=(const PrivateCups&) = delete;

  std::string officeOutput() const { return folder_ + "/office"; }
  std::string smartPrintOutput() const { return folder_ + "/smart"; }

  // Adds or removes the "Smart Print" queue.
  bool addSmartPrint();
  void removeSmartPrint();

  // The PDF file that appears in `output` within `seconds`, or "" when none does; the folder is
  // emptied first by clear().
  static std::string waitForPdf(const std::string& output, int seconds);
  static void clear(const std::string& output);

 private:
  PrivateCups() = default;
  bool start(std::string& whyNot);
  bool addQueue(const std::string& queue, const std::string& description, const std::string& output);
  bool installBackend();

  std::string folder_;
  pid_t scheduler_ = -1;
};

}  // namespace pq::test
