// What the fuzz targets share: the input as text, a broken rule stops the run with its text (a
// crash for libFuzzer, which then keeps the input), and messages that go nowhere.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "process/messages.h"

// Bytes as the program would meet them in a file or on a command line: UTF-8, bad sequences
// replaced.
inline QString Fuzz_Text(const uint8_t* data, size_t size) {
  return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

[[noreturn]] inline void Fuzz_Fail(const char* rule, const QString& detail) {
  std::fprintf(stderr, "Broken rule: %s\n%s\n", rule, detail.toUtf8().constData());
  std::abort();
}

#define FUZZ_CHECK(condition, detail)                \
  do {                                               \
    if (!(condition)) Fuzz_Fail(#condition, detail); \
  } while (false)

class SilentMessages : public Messages {
 public:
  void Information(const QString&, const QString&) override { ++shown; }
  void Critical(const QString&, const QString&) override { ++shown; }
  void Plain(const QString&, const QString&) override { ++shown; }
  bool Question(const QString&, const QString&) override {
    ++shown;
    return false;
  }
  int shown = 0;
};
