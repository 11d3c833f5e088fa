// Scenario cases kept as text under tests/cases, one folder per runner and one GoogleTest
// instance per file. Every file has the same shape:
//
//   # a comment line (blank lines are skipped too)
//   key: field | field | field
//
// The key says what the line is (a procedure, "row", "expect", ...). The text after "key:"
// is split at "|" and each field trimmed; a field written in double quotes keeps its blanks.
// A runner that wants the value whole (an SQL statement, a message) takes `text`.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

struct CaseLine {
  QString file;  // relative to tests/cases, e.g. "amounts/amount_to_text.txt"
  int number = 0;
  QString key;
  QString text;  // after "key:" and one blank, exactly as written
  QStringList fields;

  // "file:line: the line", for failure messages and traces.
  std::string Where() const;
};

// The case files of a folder under tests/cases, as "folder/name.txt", sorted by name.
std::vector<std::string> Case_Files(const QString& folder);

// Reads a case file (a path from Case_Files); a file that cannot be read, a line without key
// or a file without any case line fails the running test.
std::vector<CaseLine> Read_Case_File(const std::string& relative);

// The test name of a case file: its name without ".txt", other than letters and digits as "_".
std::string Case_File_Name(const testing::TestParamInfo<std::string>& info);

// The fixture of a runner: its parameter is the file.
using CaseFileTest = testing::TestWithParam<std::string>;
