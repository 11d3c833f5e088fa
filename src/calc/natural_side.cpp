#include "calc/natural_side.h"

#include <QDir>
#include <QStringList>
#include <cmath>

#include "db/suite_text.h"
#include "model/financial_table.h"

NaturalSides NaturalSides::Read(const QString& text) {
  NaturalSides sides;
  for (const QString& raw : text.split('\n')) {
    const QStringList fields = raw.trimmed().split(';');
    if (fields.size() < 2) continue;
    const QString code = fields[0].trimmed();
    if (code.size() != 3 || !code[0].isDigit()) continue;
    const QString side = fields[1].trimmed().toUpper();
    sides.main_[code] = side == "B"   ? NaturalSide::Debit
                        : side == "A" ? NaturalSide::Credit
                                      : NaturalSide::Either;
  }
  return sides;
}

NaturalSide NaturalSides::Of_Account(const QString& code) const {
  const auto found = main_.find(code.trimmed().left(3));
  return found == main_.end() ? NaturalSide::Either : found->second;
}

NaturalSide NaturalSides::Of_Range(const QString& from, const QString& to) const {
  const QString end = Range_End(to);
  std::optional<NaturalSide> shared;
  for (const auto& [code, side] : main_) {
    // The codes under a main account lie in code..Range_End(code).
    const bool overlaps = (end.isEmpty() ? code <= to : code < end) && Range_End(code) > from;
    if (!overlaps) continue;
    if (shared && *shared != side) return NaturalSide::Either;
    shared = side;
  }
  return shared.value_or(NaturalSide::Either);
}

std::shared_ptr<const NaturalSides> Load_Natural_Sides(const QString& program_folder) {
  const auto text = Read_Suite_Text_File(
      QDir(program_folder)
          .filePath(QString(kStandardDefinitionFolder) + "/" + QString(kNaturalSidesFile)));
  return std::make_shared<const NaturalSides>(text ? NaturalSides::Read(*text) : NaturalSides());
}

QString Range_End(const QString& to) {
  QString end = to;
  while (!end.isEmpty() && end.back().unicode() == 0xFFFF) end.chop(1);
  if (end.isEmpty()) return {};
  end.back() = QChar(static_cast<char16_t>(end.back().unicode() + 1));
  return end;
}

bool In_Code_Range(const QString& code, const QString& from, const QString& to) {
  if (code < from) return false;
  const QString end = Range_End(to);
  return end.isEmpty() ? code <= to : code < end;
}

bool Under_Account(const QString& code, const QString& account) {
  return code == account ||
         (code.startsWith(account) && code.size() > account.size() && code[account.size()] == '.');
}

bool Is_Main_Account_Code(const QString& code) { return !code.contains('.'); }

bool Is_Nil(double amount) { return std::fabs(amount) < 0.00005; }

bool Reverse_State(NaturalSide side, const std::optional<double>& balance) {
  if (!balance || Is_Nil(*balance)) return false;
  if (side == NaturalSide::Debit) return *balance < 0;
  if (side == NaturalSide::Credit) return *balance > 0;
  return false;
}
