// The program's messages to the user: information, critical, plain and Yes/No questions,
// each with an optional title. Logic talks to this interface only; the desktop program shows
// message boxes, the command line writes to stderr, and tests record and script the answers.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

enum class MessageKind { Information, Critical, Plain, Question };

class Messages {
 public:
  virtual ~Messages() = default;
  virtual void Information(const QString& text, const QString& title = {}) = 0;
  virtual void Critical(const QString& text, const QString& title = {}) = 0;
  virtual void Plain(const QString& text, const QString& title = {}) = 0;
  // Yes/No with the question icon; No always cancels.
  virtual bool Question(const QString& text, const QString& title = {}) = 0;
};

// Command line: every message goes to stderr; a question is answered Yes only when allowed.
class StderrMessages : public Messages {
 public:
  explicit StderrMessages(bool answer_yes = false) : answer_yes_(answer_yes) {}
  void Information(const QString& text, const QString& title = {}) override;
  void Critical(const QString& text, const QString& title = {}) override;
  void Plain(const QString& text, const QString& title = {}) override;
  bool Question(const QString& text, const QString& title = {}) override;

 private:
  void Write(const char* label, const QString& text, const QString& title);
  bool answer_yes_;
};

// Tests: records every message; questions take scripted answers (No when none is left).
class RecordingMessages : public Messages {
 public:
  struct Entry {
    MessageKind kind;
    QString text;
    QString title;
  };
  void Information(const QString& text, const QString& title = {}) override;
  void Critical(const QString& text, const QString& title = {}) override;
  void Plain(const QString& text, const QString& title = {}) override;
  bool Question(const QString& text, const QString& title = {}) override;

  void Answer(bool yes) { answers_.push_back(yes); }
  QStringList Texts() const;
  std::vector<Entry> entries;

 private:
  std::deque<bool> answers_;
};
