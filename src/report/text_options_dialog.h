// TexteAtOzellikFrm, "Text'e Yazdır": the options of the text export (page separator, field
// separator, Unicode, leaving empty lines out). The dialog keeps one flag, cancelled: "Vazgeç"
// sets it, "Tamam" clears it; both hide the dialog. Closing it any other way counts as cancel.
#pragma once

#include <QDialog>

#include "report/exports.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

class TexteAtOzellikFrm : public QDialog {
  Q_OBJECT
 public:
  explicit TexteAtOzellikFrm(QWidget* parent = nullptr);

  bool Cancelled() const { return cancelled_; }
  TextExportOptions Options() const;

  QLineEdit* Sayfa_Ayiraci;
  QLineEdit* AlanAyiraci;
  QPushButton* btnCancel;
  QPushButton* btnOK;
  QCheckBox* UnicodeText;
  QCheckBox* BosSatirlariGizle;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool cancelled_ = true;
};
