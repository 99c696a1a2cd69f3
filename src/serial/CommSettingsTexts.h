#pragma once

#include <string_view>

#include "base/AppLang.h"

namespace pq::OstrelComm32 {

// Indexes of the settings dialogs' texts.
namespace settingsTexts {
inline constexpr int ok = 0, cancel = 1, caption = 2, port = 3, baud = 4, parity = 5, byteSize = 6,
                     stopBits = 7, flowControl = 8, noParity = 9, oddParity = 10, evenParity = 11,
                     markParity = 12, flowNone = 13, flowRtsCts = 14, flowXonXoff = 15, flowBoth = 16,
                     mustSelectPort = 17, mustSelectBaud = 18, invalidBaud = 19, mustSelectByteSize = 20,
                     mustSelectParity = 21, mustSelectStopBits = 22, mustSelectFlow = 23, portGroup = 26,
                     modemGroup = 27, bufferGroup = 28, autoAnswer = 29, inBuf = 30, outBuf = 31,
                     autoAnswerRange = 32, inBufError = 33, outBufError = 34, spaceParity = 35;
}  // namespace settingsTexts

// The UTF-8 text of an index in a language (ltGbk simplified, ltBig5 traditional, anything else
// English); an index without a text gives an empty one. The texts are held in each language's own
// characters, so no code-page conversion applies to them.
std::string_view commSettingsText(int index, TLangType language);

}  // namespace pq::OstrelComm32
