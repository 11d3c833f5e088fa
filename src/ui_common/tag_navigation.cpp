// Tag parsing and the choice of the next box.
#include "ui_common/tag_navigation.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Field of the tag for a key: 0 Left, 1 Up, 2 Right, 3 Down or Enter; -1 for other keys.
int Tag_Field(int key_code) {
  switch (key_code) {
    case kKeyLeft: return 0;
    case kKeyUp: return 1;
    case kKeyRight: return 2;
    case kKeyDown:
    case kKeyEnter: return 3;
    default: return -1;
  }
}

TagTarget Parse_Target(const QString& text) {
  static const QRegularExpression indexed(R"(^(.*)\((\s*-?\d+\s*)\)\s*$)");
  TagTarget target;
  auto m = indexed.match(text);
  if (m.hasMatch()) {
    target.name = m.captured(1).trimmed();
    target.index = m.captured(2).trimmed().toInt();
  } else {
    target.name = text.trimmed();
  }
  return target;
}

}  // namespace

QList<TagTarget> Tag_Targets(const QString& tag, int key_code) {
  const int field = Tag_Field(key_code);
  const QStringList fields = tag.split(u';');
  if (field < 0 || field >= fields.size()) return {};
  QList<TagTarget> targets;
  for (const QString& name : fields.at(field).split(u'|')) targets.append(Parse_Target(name));
  return targets;
}

bool Key_Stays_In_Box(int key_code, bool caret_check, int caret, int text_length) {
  if (!caret_check) return false;
  if (key_code == kKeyLeft) return caret != 0;
  if (key_code == kKeyRight) return caret != text_length;
  return false;
}

bool Control_Name_Matches(const QString& control_name, const QString& tag_name) {
  return control_name.toUpper() == tag_name.toUpper();
}

std::optional<TagTarget> Navigate_Target(
    const QString& tag, int key_code, bool caret_check, int caret, int text_length,
    const std::function<ControlState(const TagTarget&)>& lookup) {
  if (Tag_Field(key_code) < 0) return std::nullopt;
  if (Key_Stays_In_Box(key_code, caret_check, caret, text_length)) return std::nullopt;
  for (const TagTarget& target : Tag_Targets(tag, key_code)) {
    switch (lookup(target)) {
      case ControlState::Missing: return std::nullopt;
      case ControlState::Available: return target;
      case ControlState::Unavailable: break;
    }
  }
  return std::nullopt;
}
