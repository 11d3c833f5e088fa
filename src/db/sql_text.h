// Values written into SQL text. A value inside quotes has its quotes doubled, so a code or
// name with an apostrophe simply works; a value written bare must be a number.
#pragma once

#include <QString>

// `value` ready to stand between single quotes.
QString Sql_Quote_Value(const QString& value);
// True when `value` may be written bare: a plain decimal number.
bool Is_Sql_Number(const QString& value);
