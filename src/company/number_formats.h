// The number formats of the company: "#,##0" followed, for N decimals above 0, by "." and N
// zeros. They are applied with the system's separators ("," decimals, "." thousands).
#pragma once

#include <QString>

QString Number_Format(int decimals);
// Decimals of a format made by Number_Format (the zeros after ".").
int Format_Decimals(const QString& format);
