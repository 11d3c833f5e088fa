// Event filters and signal hooks that give a QLineEdit the shared edit-box behaviours.
#include "ui_common/edit_box_widget.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "ui_common/tag_navigation.h"
#include "ui_common/turkish_text.h"

namespace {

class SelectAllFilter : public QObject {
 public:
  using QObject::QObject;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      QPointer<QLineEdit> box = qobject_cast<QLineEdit*>(watched);
      if (box) {
        box->setSelection(0, box->text().size());
        // A mouse click places the caret after the focus arrives; select again afterwards.
        QTimer::singleShot(0, box, [box] {
          if (box && box->hasFocus()) box->setSelection(0, box->text().size());
        });
      }
    }
    return false;
  }
};

class TagNavigationFilter : public QObject {
 public:
  TagNavigationFilter(QObject* parent, bool caret_check)
      : QObject(parent), caret_check_(caret_check) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* box = qobject_cast<QLineEdit*>(watched);
    const int key = Navigation_Key_Code(static_cast<QKeyEvent*>(event)->key());
    if (!box || key == 0) return false;
    return Navigate_By_Tag_Key(box, key, caret_check_);
  }

 private:
  bool caret_check_;
};

}  // namespace

QWidget* Find_Tag_Control(QWidget* window, const QString& name, int index) {
  if (!window) return nullptr;
  for (QWidget* control : window->findChildren<QWidget*>()) {
    if (!Control_Name_Matches(control->objectName(), name)) continue;
    const QVariant own_index = control->property("Index");
    if (index >= 0 ? (own_index.isValid() && own_index.toInt() == index) : !own_index.isValid())
      return control;
  }
  return nullptr;
}

int Navigation_Key_Code(int qt_key) {
  switch (qt_key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return kKeyEnter;
    case Qt::Key_Left: return kKeyLeft;
    case Qt::Key_Up: return kKeyUp;
    case Qt::Key_Right: return kKeyRight;
    case Qt::Key_Down: return kKeyDown;
    default: return 0;
  }
}

bool Navigate_By_Tag_Key(QLineEdit* box, int key_code, bool caret_check) {
  QWidget* window = box->window();
  QWidget* found = nullptr;
  auto lookup = [&](const TagTarget& target) {
    QWidget* control = Find_Tag_Control(window, target.name, target.index.value_or(-1));
    if (!control) return ControlState::Missing;
    if (!control->isEnabled() || !control->isVisible()) return ControlState::Unavailable;
    found = control;
    return ControlState::Available;
  };
  const auto target = Navigate_Target(box->property("Tag").toString(), key_code, caret_check,
                                      box->cursorPosition(), box->text().size(), lookup);
  if (!target || !found) return false;
  found->setFocus(Qt::TabFocusReason);
  return true;
}

void Select_All_On_Focus(QLineEdit* box) { box->installEventFilter(new SelectAllFilter(box)); }

void Navigate_By_Tag(QLineEdit* box, bool caret_check) {
  box->installEventFilter(new TagNavigationFilter(box, caret_check));
}

void Upper_TR_Box(QLineEdit* box) {
  QObject::connect(box, &QLineEdit::textChanged, box, [box](const QString& text) {
    const TextCaret upper = Upper_TR_Edit(text, box->cursorPosition());
    if (upper.text == text) return;
    box->setText(upper.text);
    box->setCursorPosition(upper.caret);
  });
}
