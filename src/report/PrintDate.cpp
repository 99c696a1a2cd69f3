#include "report/PrintDate.h"

#include <langinfo.h>
#include <locale.h>

namespace pq {

std::string printDateText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  locale_t userLocale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (userLocale == static_cast<locale_t>(nullptr)) {
    userLocale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
  }
  const bool midnight = local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
  char text[128] = {};
  strftime_l(text, sizeof text, midnight ? "%x" : "%x %X", &local, userLocale);
  freelocale(userLocale);
  return text;
}

}  // namespace pq
