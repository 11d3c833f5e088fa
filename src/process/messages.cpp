#include "process/messages.h"

#include <cstdio>

void StderrMessages::Write(const char* label, const QString& text, const QString& title) {
  QString line = title.isEmpty() ? text : title + " " + text;
  line.replace(QChar('\r'), QChar('\n'));
  std::fprintf(stderr, "%s: %s\n", label, line.toUtf8().constData());
  std::fflush(stderr);
}

void StderrMessages::Information(const QString& text, const QString& title) {
  Write("Bilgi", text, title);
}
void StderrMessages::Critical(const QString& text, const QString& title) {
  Write("Hata", text, title);
}
void StderrMessages::Plain(const QString& text, const QString& title) {
  Write("Mesaj", text, title);
}
bool StderrMessages::Question(const QString& text, const QString& title) {
  Write("Soru", text, title);
  std::fprintf(stderr, "Cevap: %s\n", answer_yes_ ? "Evet" : "Hayır");
  return answer_yes_;
}

void RecordingMessages::Information(const QString& text, const QString& title) {
  entries.push_back({MessageKind::Information, text, title});
}
void RecordingMessages::Critical(const QString& text, const QString& title) {
  entries.push_back({MessageKind::Critical, text, title});
}
void RecordingMessages::Plain(const QString& text, const QString& title) {
  entries.push_back({MessageKind::Plain, text, title});
}
bool RecordingMessages::Question(const QString& text, const QString& title) {
  entries.push_back({MessageKind::Question, text, title});
  if (answers_.empty()) return false;
  bool yes = answers_.front();
  answers_.pop_front();
  return yes;
}
QStringList RecordingMessages::Texts() const {
  QStringList texts;
  for (const auto& e : entries) texts << e.text;
  return texts;
}
