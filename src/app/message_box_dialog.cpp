#include "app/message_box_dialog.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString Title(const QString& title) {
  return title.isEmpty() ? QApplication::applicationName() : title;
}

// Windows message boxes break lines at CR; Qt wants LF.
QString Lines(QString text) { return text.replace("\r\n", "\n").replace('\r', '\n'); }

int Show(QMessageBox::Icon icon, const QString& text, const QString& title,
         QMessageBox::StandardButtons buttons) {
  // Attached to the window the user is working in, so that it shows above it.
  QWidget* opener = QApplication::activeModalWidget();
  if (!opener) opener = QApplication::activeWindow();
  QMessageBox box(icon, Title(title), Lines(text), buttons, opener);
  return box.exec();
}

}  // namespace

void MessageBoxMessages::Information(const QString& text, const QString& title) {
  Show(QMessageBox::Information, text, title, QMessageBox::Ok);
}
void MessageBoxMessages::Critical(const QString& text, const QString& title) {
  Show(QMessageBox::Critical, text, title, QMessageBox::Ok);
}
void MessageBoxMessages::Plain(const QString& text, const QString& title) {
  Show(QMessageBox::NoIcon, text, title, QMessageBox::Ok);
}
bool MessageBoxMessages::Question(const QString& text, const QString& title) {
  return Show(QMessageBox::Question, text, title, QMessageBox::Yes | QMessageBox::No) ==
         QMessageBox::Yes;
}
