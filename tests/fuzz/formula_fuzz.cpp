// The formula evaluator on any text: a value in the amount range or a FormulaError, nothing
// else. The first eight bytes, read as a double, also go through Number_Text, whose text must
// read back as the same amount.
#include <QString>
#include <cmath>
#include <cstring>

#include "calc/formula.h"
#include "fuzz_check.h"
#include "ui_common/exact_amount.h"

namespace {

void Check_Value(double value, const QString& formula) {
  FUZZ_CHECK(std::isfinite(value), formula);
  FUZZ_CHECK(Amount::From_Double(value).has_value(), formula);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size >= sizeof(double)) {
    double value;
    std::memcpy(&value, data, sizeof value);
    const QString text = Number_Text(value);
    if (const auto amount = Amount::From_Double(value)) {
      FUZZ_CHECK(Amount::Read(text) == amount, text);
      FUZZ_CHECK(Formul_Al(text) == amount->Value(), text);
    }
  }

  const QString formula = Fuzz_Text(data, size);
  try {
    Check_Value(Formul_Al(formula), formula);
  } catch (const FormulaError& e) {
    FUZZ_CHECK(!e.message.isEmpty(), formula);
  }
  QString piece = formula;
  try {
    const double value = Hesapla(piece);
    Check_Value(value, formula);
    // The piece is rewritten to the text of its value.
    FUZZ_CHECK(Is_Number_Text(piece), formula + " -> " + piece);
  } catch (const FormulaError& e) {
    FUZZ_CHECK(!e.message.isEmpty(), formula);
  }
  return 0;
}
