// The exact amount reader on any text, in the program's syntaxes: a text read as an amount is
// written back to the same amount, and the digits of a number round like its text.
#include <QString>

#include "fuzz_check.h"
#include "ui_common/exact_amount.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = Fuzz_Text(data, size);
  const NumberSyntax syntaxes[] = {
      {},
      {.decimal_marks = ",", .thousand = u'.', .blanks_around = true},
      {.decimal_marks = ".,", .blanks_around = true},
  };
  for (const NumberSyntax& syntax : syntaxes) {
    const auto digits = DecimalDigits::Read(text, syntax);
    FUZZ_CHECK(digits.has_value() == Is_Number_Text(text, syntax), text);
    const auto amount = Amount::Read(text, syntax);
    if (!digits) {
      FUZZ_CHECK(!amount, text);
      continue;
    }
    // The digits as written read back as themselves.
    const QString written = digits->Text();
    const auto again = DecimalDigits::Read(written);
    FUZZ_CHECK(again && again->Text() == written, text + " -> " + written);
    if (!amount) continue;
    FUZZ_CHECK(Amount::From_Digits(*digits) == amount, text);
    const DigitsStyle styles[] = {{}, {.decimal = u',', .thousand = u'.', .min_decimals = 2}};
    const NumberSyntax back[] = {{}, {.decimal_marks = ",", .thousand = u'.'}};
    for (int i = 0; i < 2; ++i) {
      const QString out = amount->Text(styles[i]);
      FUZZ_CHECK(Amount::Read(out, back[i]) == amount, text + " -> " + out);
    }
    FUZZ_CHECK(Amount::From_Units(amount->Negative(), amount->Units()) == amount, text);
  }
  return 0;
}
