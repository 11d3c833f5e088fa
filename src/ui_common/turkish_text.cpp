// Turkish upper-casing and the suite's password transform.
#include "ui_common/turkish_text.h"

#include <algorithm>

#include "db/suite_text.h"

namespace {

constexpr char16_t kSmallDotlessI = u'\u0131';
constexpr char16_t kCapitalDottedI = u'\u0130';

// The character of a Windows-1254 code. Bytes the code page leaves undefined keep their own
// value, as Windows maps them.
QString Windows1254_Char(int code) {
  QByteArray byte(1, static_cast<char>(code));
  QString text = Decode_Windows1254(byte);
  if (text.size() != 1 || (text == "?" && code != '?')) return QString(QChar(code));
  return text;
}

}  // namespace

QString Upper_TR(const QString& text) {
  if (!text.contains(u'i') && !text.contains(QChar(kSmallDotlessI))) return text.toUpper();
  QString result;
  result.reserve(text.size());
  for (QChar c : text) {
    if (c == QChar(kSmallDotlessI))
      result += QChar(u'I');
    else if (c == u'i')
      result += QChar(kCapitalDottedI);
    else
      result += QString(c).toUpper();
  }
  return result;
}

QString Search_Key_TR(const QString& text) { return Upper_TR(text.trimmed()); }

QString Month_Name_TR(int month) {
  static const char* const names[] = {"Ocak",   "Şubat",   "Mart",  "Nisan", "Mayıs", "Haziran",
                                      "Temmuz", "Ağustos", "Eylül", "Ekim",  "Kasım", "Aralık"};
  return month >= 1 && month <= 12 ? QString::fromUtf8(names[month - 1]) : QString();
}

bool Starts_With_TR(const QString& text, const QString& search) {
  return Search_Key_TR(text).startsWith(Search_Key_TR(search));
}

TextCaret Upper_TR_Edit(const QString& text, int caret) {
  TextCaret edit;
  edit.text = Upper_TR(text);
  edit.caret = std::clamp(caret, 0, static_cast<int>(edit.text.size()));
  return edit;
}

QString Encode_Password(const QString& text) {
  QString result;
  for (int i = 0; i < text.size(); ++i) {
    QByteArray code_page = Encode_Windows1254(QString(text.at(i)));
    if (code_page.size() != 1) continue;
    int code = 2 * static_cast<unsigned char>(code_page.at(0)) + (i + 1);
    if (code > 255) continue;
    result += Windows1254_Char(code);
  }
  return result;
}
