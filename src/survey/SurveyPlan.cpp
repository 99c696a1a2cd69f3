#include "survey/SurveyPlan.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "base/TextCodec.h"
#include "records/RecordFileFormat.h"
#include "records/RecordFileReader.h"
#include "records/InstrumentNumber.h"
#include "statistics/HarmonicLimitTables.h"
#include "survey/SurveyMessages.h"
#include "timerange/EpochSeconds.h"

namespace pq {

namespace {

bool isRecordFileName(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".bin";
}

// A folder stands for the record files in it, in name order; a folder without any is reported.
std::vector<std::string> expandFolders(const std::vector<std::string>& paths,
                                       std::vector<std::string>& leftOut) {
  std::vector<std::string> files;
  for (const auto& path : paths) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) {
      files.push_back(path);
      continue;
    }
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
      std::error_code entryError;
      if (entry.is_regular_file(entryError) && isRecordFileName(entry.path()))
        found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    if (found.empty()) leftOut.push_back(messages::surveyEmptyFolder(path));
    files.insert(files.end(), found.begin(), found.end());
  }
  return files;
}

bool sameBytes(const std::string& a, const std::string& b) {
  std::ifstream first(a, std::ios::binary);
  std::ifstream second(b, std::ios::binary);
  if (!first || !second) return false;
  constexpr std::size_t kBlock = 1 << 16;
  auto one = std::make_unique<char[]>(kBlock);
  auto two = std::make_unique<char[]>(kBlock);
  while (true) {
    first.read(one.get(), kBlock);
    second.read(two.get(), kBlock);
    if (first.gcount() != second.gcount()) return false;
    if (first.gcount() == 0) return true;
    if (!std::equal(one.get(), one.get() + first.gcount(), two.get())) return false;
  }
}

std::string floatText(float value) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  return std::string(text, end);
}

// A level by its name; a code the program does not know by its number, which is all there is of it.
std::string levelText(int code) {
  const std::string_view name = voltageLevelTextOfCode(code);
  return name.empty() ? std::to_string(code) : std::string(name);
}

void addMismatches(const PlannedFile& file, const PlannedFile& first, std::vector<std::string>& out) {
  const RecordingIdentity& a = file.identity;
  const RecordingIdentity& b = first.identity;
  auto differ = [&](const char* field, const std::string& value, const std::string& firstValue) {
    if (value != firstValue)
      out.push_back(messages::surveyMismatch(file.path, field, value, first.path, firstValue));
  };
  differ(messages::kSurveySubstation, gbkToUtf8(a.substationName), gbkToUtf8(b.substationName));
  differ(messages::kSurveyMeasuringPoint, gbkToUtf8(a.measuringPointName), gbkToUtf8(b.measuringPointName));
  differ(messages::kSurveyVoltageLevel, levelText(a.voltageLevelCode), levelText(b.voltageLevelCode));
  differ(messages::kSurveyPtRatio, floatText(a.ptRatio), floatText(b.ptRatio));
  differ(messages::kSurveyCtRatio, floatText(a.ctRatio), floatText(b.ctRatio));
  differ(messages::kSurveyInstrument, instrumentNumberText(a.instrumentId),
         instrumentNumberText(b.instrumentId));
}

}  // namespace

std::string instrumentText(const std::array<std::uint32_t, 4>& id) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X%02X%02X%02X", id[0] & 0xFF, id[1] & 0xFF, id[2] & 0xFF,
                id[3] & 0xFF);
  return text;
}

std::int64_t PlannedFile::frames() const {
  return std::max<std::int64_t>(size - static_cast<std::int64_t>(recordfile::kHeadSize), 0) /
         static_cast<std::int64_t>(recordfile::kFrameSize);
}

std::int64_t SurveyPlan::recordBound() const {
  std::int64_t bound = 0;
  for (const auto& file : files) bound += file.frames();
  return bound;
}

SurveyPlan planSurvey(const std::vector<std::string>& paths) {
  SurveyPlan plan;
  struct Identity {
    dev_t device;
    ino_t inode;
    std::string path;
  };
  std::vector<Identity> seen;
  for (const auto& path : expandFolders(paths, plan.leftOut)) {
    struct stat status {};
    RecordFileReader reader(path);
    if (::stat(path.c_str(), &status) != 0 || !reader.opened()) {
      plan.leftOut.push_back(messages::surveyFileMissing(path));
      continue;
    }
    const auto twin = std::find_if(seen.begin(), seen.end(), [&](const Identity& s) {
      return s.device == status.st_dev && s.inode == status.st_ino;
    });
    if (twin != seen.end()) {
      plan.leftOut.push_back(messages::surveySameFile(path, twin->path));
      continue;
    }
    seen.push_back({status.st_dev, status.st_ino, path});

    // One record is enough to order the file and compare its head: the rest is read when its turn
    // comes.
    PlannedFile file;
    reader.readHead(file.head);
    MeasurementRecord first{};
    if (!reader.next(first)) {
      plan.leftOut.push_back(messages::surveyNoRecords(path));
      continue;
    }
    file.path = path;
    file.head.fileName = path;
    file.size = static_cast<std::int64_t>(status.st_size);
    file.first = recordSeconds(first);
    file.wiringMode = first.integer(cells::wiringMode);
    const RecordHead& head = file.head;
    file.identity = {head.substationName, head.measuringPointName, head.voltageLevelCode, head.ptRatio, head.ctRatio,
                     {}};
    for (int cell = 0; cell < 4; ++cell) file.identity.instrumentId[cell] = first.cells[cells::instrumentId + cell];

    // A copy has the same size and first record as its original; only then are the bytes compared.
    const auto copy = std::find_if(plan.files.begin(), plan.files.end(), [&](const PlannedFile& other) {
      return other.size == file.size && other.first == file.first && sameBytes(other.path, file.path);
    });
    if (copy != plan.files.end()) {
      plan.leftOut.push_back(messages::surveySameContent(path, copy->path));
      continue;
    }
    plan.files.push_back(std::move(file));
  }
  std::stable_sort(plan.files.begin(), plan.files.end(), [](const PlannedFile& a, const PlannedFile& b) {
    if (a.first && b.first) return *a.first < *b.first;
    return a.first.has_value() && !b.first.has_value();
  });
  for (std::size_t k = 1; k < plan.files.size(); ++k)
    addMismatches(plan.files[k], plan.files.front(), plan.mismatches);
  return plan;
}

}  // namespace pq
