#include "base/SystemLanguage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace pq {
namespace {

TEST(SystemLanguageTest, LocaleNamesMapToWindowsLanguageIdentifiers) {
  const std::pair<const char*, std::uint16_t> cases[] = {
      {"zh_CN.UTF-8", 0x0804}, {"zh_SG", 0x1004},       {"zh_TW.BIG5", 0x0404}, {"zh_HK.UTF-8@x", 0x0C04},
      {"zh", 0x0804},          {"en_US.UTF-8", 0x0409}, {"en_GB", 0x0409},      {"de_DE.UTF-8", 0x0407},
      {"ja_JP", 0x0411},       {"C", 0x0409},           {"POSIX", 0x0409},      {"", 0x0409},
      {"xx_YY", 0x0409},
  };
  for (const auto& [name, id] : cases) {
    EXPECT_EQ(languageIdFromLocale(name), id) << name;
  }
}

class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnvironment() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SystemLanguageTest, FirstNonEmptyOfLcAllLcMessagesAndLangDecides) {
  ScopedEnvironment all("LC_ALL", "");
  ScopedEnvironment messages("LC_MESSAGES", "zh_TW.UTF-8");
  ScopedEnvironment lang("LANG", "zh_CN.UTF-8");
  EXPECT_EQ(systemDefaultLanguageId(), 0x0404);
  {
    ScopedEnvironment allSet("LC_ALL", "en_US.UTF-8");
    EXPECT_EQ(systemDefaultLanguageId(), 0x0409);
  }
  ScopedEnvironment noMessages("LC_MESSAGES", nullptr);
  EXPECT_EQ(systemDefaultLanguageId(), 0x0804);
}

}  // namespace
}  // namespace pq
