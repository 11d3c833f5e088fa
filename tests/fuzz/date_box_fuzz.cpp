// The date-box rule on any text and caret: the caret stays inside the text, a rewritten text
// is digits with "/" after the day and the month, and only eight digits with a wrong day or
// month are refused, with their message.
#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

#include "fuzz_check.h"
#include "ui_common/date_box.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const int caret = input.ConsumeIntegralInRange(-2, 40);
  const bool typed = input.ConsumeBool();
  const std::string bytes = input.ConsumeRemainingBytesAsString();
  const QString text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));

  const DateBoxEdit edit = Format_Date_Box(text, caret, typed);
  QString digits;
  for (QChar c : text)
    if (c >= u'0' && c <= u'9') digits += c;
  if (!typed) {
    FUZZ_CHECK(edit.text == text && edit.caret == caret && !edit.applied && !edit.refused, text);
    return 0;
  }
  FUZZ_CHECK(edit.applied != edit.refused, text);
  FUZZ_CHECK(!edit.date_error || !edit.message.isEmpty(), text);
  if (edit.refused) {
    FUZZ_CHECK(digits.size() == 8 && edit.date_error && edit.text == text, text);
    FUZZ_CHECK(edit.message == kDayMessage || edit.message == kMonthMessage, text);
    return 0;
  }
  FUZZ_CHECK(edit.caret >= 0 && edit.caret <= edit.text.size(), text);
  FUZZ_CHECK(edit.result == edit.text, text);
  QString rewritten = edit.text;
  FUZZ_CHECK(rewritten.remove('/') == digits, text + " -> " + edit.text);
  for (int i = 0; i < edit.text.size(); ++i)
    if (edit.text[i] == '/') FUZZ_CHECK(i == 2 || i == 5, text + " -> " + edit.text);
  return 0;
}
