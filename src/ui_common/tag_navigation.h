// Arrow-key and Enter navigation between edit boxes, driven by each box's tag. A tag holds
// four fields separated by ";": the targets for Left, Up, Right and Down (Enter uses Down).
// A field lists control names separated by "|", each optionally followed by a control-array
// index in parentheses: "KodTxt|AdTxt(2)". The first target that is enabled and visible gets
// the focus; a name that matches no control ends the search. The window supplies the lookup
// of its controls; this file holds the rule.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <optional>

enum NavigationKey { kKeyEnter = 13, kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40 };

struct TagTarget {
  QString name;
  std::optional<int> index;  // control-array member, when the name carries one
  bool operator==(const TagTarget&) const = default;
};

enum class ControlState { Missing, Unavailable, Available };  // Unavailable: disabled or hidden

// The targets the tag gives for a key, in order; none for a key that does not navigate or a
// field the tag lacks.
QList<TagTarget> Tag_Targets(const QString& tag, int key_code);

// Left with the caret not at 0, or Right with the caret not at the end, moves the caret inside
// the text instead of leaving the box (only when the caret check is asked for).
bool Key_Stays_In_Box(int key_code, bool caret_check, int caret, int text_length);

// A window's control name matches a tag name compared in upper case.
bool Control_Name_Matches(const QString& control_name, const QString& tag_name);

// The control to give the focus to, or none.
std::optional<TagTarget> Navigate_Target(
    const QString& tag, int key_code, bool caret_check, int caret, int text_length,
    const std::function<ControlState(const TagTarget&)>& lookup);
