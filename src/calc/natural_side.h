// Natural sides of the uniform chart of accounts: each main account's balance stands on the
// debit side (assets, expenses, deductions, debit contra accounts) or on the credit side
// (liabilities, equity, income, credit contra accounts); result accounts such as 690 and 692
// stand on either. The table ships beside the standard definitions as "TDHP.txt", one main
// account a line: "CODE;SIDE;NAME;" with SIDE "B" (borç), "A" (alacak) or "" (either).
// A row of a statement whose accounts share a side is in reverse state when its balance
// stands on the other side; the amount rule then keeps the direction instead of flipping it.
#pragma once

#include <QString>
#include <map>
#include <memory>
#include <optional>

enum class NaturalSide { Either, Debit, Credit };

class NaturalSides {
 public:
  // The table from the file's text; lines that are not "CODE;SIDE;..." are passed over. Takes
  // text only, so it can be driven by a fuzzer.
  static NaturalSides Read(const QString& text);
  // The side of an account code: that of its main account (the code's first three characters).
  NaturalSide Of_Account(const QString& code) const;
  // The side shared by every main account with a code in from..to (the upper bound taking the
  // codes under it); Either when they differ or none is known.
  NaturalSide Of_Range(const QString& from, const QString& to) const;
  bool Empty() const { return main_.empty(); }
  int Size() const { return static_cast<int>(main_.size()); }

 private:
  std::map<QString, NaturalSide> main_;
};

inline const char* kNaturalSidesFile = "TDHP.txt";

// The table shipped in the standard definitions' folder under `program_folder`; an empty table
// (every row as the amount rule alone has it) when the file cannot be read.
std::shared_ptr<const NaturalSides> Load_Natural_Sides(const QString& program_folder);

// Account codes of a range from..to: every code between them compared as text, and every code
// that begins with the upper bound. A code lies in the range when from <= code < Range_End(to);
// Range_End is the first text past every code that begins with `to` ("" for an empty bound,
// which takes only the codes up to "").
QString Range_End(const QString& to);
bool In_Code_Range(const QString& code, const QString& from, const QString& to);
// A code lies under an intermediate or detail account: the code itself, or it followed by "."
// and more.
bool Under_Account(const QString& code, const QString& account);
// An account is a main account when its code has no "."; its lines are found by the ledger's
// main-account id, those of any other account by their own code.
bool Is_Main_Account_Code(const QString& code);

// Whether an amount is nil: below the formulas' 4 decimals, so that the noise that sums of cents
// leave in binary (191 against 391 at a month's end) counts as nothing.
bool Is_Nil(double amount);
// Whether a balance stands on the other side than `side` (debit positive); a nil balance stands
// on neither.
bool Reverse_State(NaturalSide side, const std::optional<double>& balance);
