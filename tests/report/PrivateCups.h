#pragma once

#include <sys/types.h>
#include <string>

namespace pq::test {

// A CUPS scheduler of the test process's own: configuration, spool, logs and output in a temporary
// folder, reached through CUPS_SERVER (set before the first use of the printing system). It holds
// two cups-pdf queues: "Office", the default printer, and "Smart_Print", described as "Smart Print"
// (a CUPS queue name cannot hold a blank). cups-pdf reads its settings from /etc/cups only, so each
// queue's device URI names a configuration of its own there (cups-pdf:/NAME reads
// cups-pdf-NAME.conf) that sends its PDF files into the queue's output folder; those files are
// removed again when the process ends.
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

  std::string folder_;
  pid_t scheduler_ = -1;
};

}  // namespace pq::test
