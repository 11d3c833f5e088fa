// Output formats of report fields: a numeric format such as "#,##0.00" (grouping when it holds
// ",", as many decimals as zeros after ".") applied to a value with "," before the decimals and
// "." between thousands. Values that are not numbers, and formats without digit places, print
// as their plain text.
#pragma once

#include <QString>
#include <QVariant>

#include "ui_common/amount_text.h"

// A number stored as text in a report field: "." or "," before the decimals, blanks around.
inline const NumberSyntax kFieldNumberSyntax{".,", {}, true};

// The value as a field prints it: "" for null; rounding half away from zero.
QString Apply_Output_Format(const QString& format, const QVariant& value,
                            NumberSeparators sep = {});
