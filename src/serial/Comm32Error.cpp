#include "serial/Comm32Error.h"

#include "base/AppLang.h"
#include "base/TextCodec.h"
#include "serial/Comm32Messages.h"

namespace pq::OstrelComm32 {

EComm32Error::EComm32Error(TErrorCode code)
    : std::runtime_error(std::string(comm32ErrorText(code, AppLang.fGetLangType()))),
      code_(code),
      nativeText_(AppLang.FromGBK(utf8ToGbk(what()))) {}

}  // namespace pq::OstrelComm32
