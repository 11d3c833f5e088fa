// Windows opened by another window. Attached to their opener, they are its transient windows
// (dialogs whose native window names the opener's): the window manager keeps them above it and
// on its screen. The first show centres a window on
// its opener, within the opener's screen; later shows leave it where the user put it. A window
// that blocks its opener disables the opener's controls while it shows.
#pragma once

class QWidget;

// Makes `window` a dialog window transient for `opener` and centres it on its first show; while
// it shows, the opener's controls are disabled when `blocks_opener`.
void Attach_To_Opener(QWidget* window, QWidget* opener, bool blocks_opener = false);
