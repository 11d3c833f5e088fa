// Table-like cases kept as text under tests/cases: one case a line, fields split at "|" and
// trimmed; blank lines and comment lines ("#" followed by a blank) are skipped.
#pragma once

#include <QStringList>
#include <vector>

// `relative` is a path under tests/cases, e.g. "text_helpers/amounts.txt".
std::vector<QStringList> Case_Rows(const QString& relative);
