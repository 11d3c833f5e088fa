// RaporKodAdFrm, the small modal dialog in which the user confirms or changes a table's code and
// name before the definition window saves it. The rules are in code_name.h; the result comes
// back through Table_Code and Table_Name, and Kayit_Iptal() tells a cancel (KayitIptal).
#pragma once

#include <QDialog>

#include "editor/code_name.h"

struct AppState;
class QLineEdit;
class QPushButton;

class RaporKodAdFrm : public QDialog {
  Q_OBJECT
 public:
  RaporKodAdFrm(AppState& state, QWidget* parent);

  bool Kayit_Iptal() const { return kayit_iptal_; }
  void KaydetBtn_Click();
  void CikisBtn_Click();

  void reject() override { CikisBtn_Click(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  AppState& s_;
  CodeNameStart start_;
  bool kayit_iptal_ = false;
  QLineEdit* Tablo_Kod = nullptr;
  QLineEdit* Tablo_Ad = nullptr;
  QPushButton* KaydetBtn = nullptr;
  QPushButton* CikisBtn = nullptr;
};
