// Turkish text rules shared by the windows: upper-casing that keeps the dotted and dotless i
// apart, searches that ignore case by the same rule, the upper-casing applied to an edit box
// with its caret kept, and the password transform the
// suite stores in Defination_DB (each character's Windows-1254 code doubled plus its position).
#pragma once

#include <QString>

// "i" becomes "İ", "ı" becomes "I"; every other character is upper-cased as usual.
QString Upper_TR(const QString& text);
// The text upper-cased by Turkish rules after its outer blanks are trimmed, so that two texts
// compare whatever their case ("yurt dış" and "YURT DIŞ" give the same key).
QString Search_Key_TR(const QString& text);
// Whether `text` begins with `search`, both compared by Search_Key_TR (an empty search matches).
bool Starts_With_TR(const QString& text, const QString& search);

// The month's Turkish name, "Ocak" for 1 to "Aralık" for 12, as the ledger's AY column and the
// run window's month lists write it.
QString Month_Name_TR(int month);

// An edit box's text with its caret position.
struct TextCaret {
  QString text;
  int caret = 0;
};
// What an upper-casing box shows after a change: Upper_TR of its text, the caret where it was
// (at most at the end of the new text).
TextCaret Upper_TR_Edit(const QString& text, int caret);

// For each character at 1-based position i: the character whose Windows-1254 code is
// 2 × code + i; a character for which that is above 255 is left out.
QString Encode_Password(const QString& text);
