#include "db/suite_text.h"

#include <iconv.h>

#include <QFile>
#include <QStringDecoder>
#include <string_view>

namespace {

QByteArray Convert(const QByteArray& bytes, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  QByteArray out(bytes.size() * 4 + 16, '\0');
  char* in_ptr = const_cast<char*>(bytes.constData());
  size_t in_left = bytes.size();
  char* out_ptr = out.data();
  size_t out_left = out.size();
  while (in_left > 0) {
    if (iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1)) {
      // A character the target cannot hold becomes "?".
      if (out_left == 0) break;
      *out_ptr++ = '?';
      --out_left;
      ++in_ptr;
      --in_left;
      if (std::string_view(from) == "UTF-8")
        while (in_left > 0 && (static_cast<unsigned char>(*in_ptr) & 0xC0) == 0x80) {
          ++in_ptr;
          --in_left;
        }
    }
  }
  iconv_close(cd);
  out.resize(out.size() - static_cast<int>(out_left));
  return out;
}

}  // namespace

QString Decode_Windows1254(const QByteArray& bytes) {
  return QString::fromUtf8(Convert(bytes, "UTF-8", "WINDOWS-1254"));
}

QByteArray Encode_Windows1254(const QString& text) {
  return Convert(text.toUtf8(), "WINDOWS-1254", "UTF-8");
}

QString Decode_Suite_Text(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  return Decode_Windows1254(bytes);
}

std::optional<QString> Read_Suite_Text_File(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  return Decode_Suite_Text(file.readAll());
}
