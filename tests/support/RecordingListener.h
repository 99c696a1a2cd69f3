#pragma once

#include <string>
#include <vector>

#include "records/RecordFileImport.h"

namespace pq::test {

// Remembers what an import reported, in order, as short lines such as "message: 文件空。".
class RecordingListener : public ImportListener {
 public:
  void importStarted(const std::string& statusText, int frames) override {
    events.push_back("started: " + statusText + " / " + std::to_string(frames));
  }
  void importProgress(int position, const std::string& progressText) override {
    events.push_back("progress: " + std::to_string(position) + " " + progressText);
  }
  void importMessage(const std::string& text) override {
    events.push_back("message: " + text);
    messages.push_back(text);
  }
  void importFinished(const std::string& statusText) override { events.push_back("finished: " + statusText); }
  bool showsProgress() const override { return progress; }

  bool progress = true;  // false: a listener that shows no progress, like the command line's
  std::vector<std::string> events;
  std::vector<std::string> messages;
};

}  // namespace pq::test
