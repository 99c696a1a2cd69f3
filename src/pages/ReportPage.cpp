#include "pages/ReportPage.h"

#include <algorithm>
#include <stdexcept>

namespace pq {

void ReportPage::addText(int x, int y, std::string text, PageFont font, std::string key) {
  texts_.push_back({x, y, std::move(text), std::move(font), std::move(key)});
}

PageText& ReportPage::cell(std::string_view key) {
  const auto it = std::find_if(texts_.begin(), texts_.end(), [&](const PageText& t) { return t.key == key; });
  if (key.empty() || it == texts_.end()) throw std::out_of_range("no report cell " + std::string(key));
  return *it;
}

void ReportPage::set(std::string_view key, std::string text) { cell(key).text = std::move(text); }

const std::string& ReportPage::text(std::string_view key) const {
  return const_cast<ReportPage*>(this)->cell(key).text;
}

bool ReportPage::has(std::string_view key) const {
  return !key.empty() &&
         std::any_of(texts_.begin(), texts_.end(), [&](const PageText& t) { return t.key == key; });
}

}  // namespace pq
