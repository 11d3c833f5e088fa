// Text files of the suite (sys.inf, Master.mtr, the standard definition files) are in the
// Turkish code page Windows-1254; files written by hand may be UTF-8. Reading takes UTF-8 when
// the bytes are valid UTF-8, else Windows-1254.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

QString Decode_Suite_Text(const QByteArray& bytes);
QString Decode_Windows1254(const QByteArray& bytes);
QByteArray Encode_Windows1254(const QString& text);
// Whole file, or nothing when it cannot be read.
std::optional<QString> Read_Suite_Text_File(const QString& path);
