// Messages of the desktop program: Qt message boxes with the program's icons and titles.
#pragma once

#include "process/messages.h"

class MessageBoxMessages : public Messages {
 public:
  void Information(const QString& text, const QString& title = {}) override;
  void Critical(const QString& text, const QString& title = {}) override;
  void Plain(const QString& text, const QString& title = {}) override;
  bool Question(const QString& text, const QString& title = {}) override;
};
