// Transient windows centred on their opener.
#include "ui_common/opener_window.h"

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace {

// Follows its window's shows and hides: places it on the first, blocks the opener's controls
// while it shows.
class OpenerLink : public QObject {
 public:
  OpenerLink(QWidget* window, QWidget* opener, bool blocks)
      : QObject(window), opener_(opener), blocks_(blocks) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* window = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::Show) {
      // The native window exists now and is mapped right after: it names its opener.
      if (QWindow* handle = window->windowHandle(); handle && opener_)
        handle->setTransientParent(opener_->window()->windowHandle());
      if (!placed_) Place(window);
      placed_ = true;
      if (blocks_) Block();
    } else if ((event->type() == QEvent::Close || event->type() == QEvent::Hide) && blocks_) {
      // Before the window's own close handler, which may hand the focus back to the opener.
      Unblock();
    }
    return false;
  }

 private:
  void Place(QWidget* window) {
    QScreen* screen = opener_->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    if (area.isValid()) window->resize(window->size().boundedTo(area.size()));
    QRect frame(QPoint(), window->size());
    frame.moveCenter(opener_->frameGeometry().center());
    if (area.isValid()) {
      frame.moveRight(std::min(frame.right(), area.right()));
      frame.moveBottom(std::min(frame.bottom(), area.bottom()));
      frame.moveLeft(std::max(frame.left(), area.left()));
      frame.moveTop(std::max(frame.top(), area.top()));
    }
    window->move(frame.topLeft());
  }
  // The opener's own controls, not its other windows (this one, menus, other dialogs).
  void Block() {
    for (QWidget* control : opener_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (control->isWindow() || !control->isEnabled()) continue;
      control->setEnabled(false);
      blocked_.emplace_back(control);
    }
  }
  void Unblock() {
    for (const QPointer<QWidget>& control : blocked_)
      if (control) control->setEnabled(true);
    blocked_.clear();
  }

  QPointer<QWidget> opener_;
  bool blocks_;
  bool placed_ = false;
  std::vector<QPointer<QWidget>> blocked_;
};

}  // namespace

void Attach_To_Opener(QWidget* window, QWidget* opener, bool blocks_opener) {
  // A dialog's window type: window managers keep only these transient for their opener. The
  // window stays a widget of its own (its owner deletes it), so that it takes the focus as any
  // top-level window does.
  window->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  window->installEventFilter(new OpenerLink(window, opener, blocks_opener));
}
