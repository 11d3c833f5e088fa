// The behaviours of the program's edit boxes, as small Qt pieces: the whole text selected when
// a box gets the focus, arrow-key and Enter navigation between boxes by each box's tag (the
// dynamic property "Tag"; a control-array member carries its index in the property "Index"),
// and Turkish upper-casing while the user types. The rules themselves live in tag_navigation.h
// and turkish_text.h; these functions attach them to a QLineEdit.
#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Selects the box's whole text whenever it gets the focus.
void Select_All_On_Focus(QLineEdit* box);
// Moves the focus by the box's "Tag" on Enter, Left, Up, Right and Down. With `caret_check`,
// Left and Right leave the box only from the start or the end of its text.
void Navigate_By_Tag(QLineEdit* box, bool caret_check = true);
// The navigation key code of a Qt key (Return and Enter are Enter); 0 for other keys.
int Navigation_Key_Code(int qt_key);
// One navigation step for a key code of tag_navigation.h (Enter, Left, Up, Right, Down), for a
// window that handles the box's keys itself; true when the focus moved.
bool Navigate_By_Tag_Key(QLineEdit* box, int key_code, bool caret_check = true);
// Upper-cases the box's text by the Turkish rules on every change, keeping the caret.
void Upper_TR_Box(QLineEdit* box);

// The window control that a tag name (with its optional array index) names, or nullptr.
QWidget* Find_Tag_Control(QWidget* window, const QString& name, int index = -1);
