#include "app/company_window.h"

#include <QApplication>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/app_state.h"

CompanyWindow::CompanyWindow(const AppState& s, QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QApplication::applicationName() + " - " + s.Company_Name);
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  auto* heading = new QLabel("Açık şirket: <b>" + s.Company_Name.toHtmlEscaped() + "</b>", central);
  layout->addWidget(heading);
  auto* form = new QFormLayout;
  form->addRow("Veritabanı:", new QLabel(s.Database_Name, central));
  form->addRow("Mali yıl:", new QLabel(s.Fiscal_Year_Start.toString("dd.MM.yyyy") + " - " +
                                           s.Fiscal_Year_End.toString("dd.MM.yyyy"),
                                       central));
  form->addRow("Tutar biçimi:", new QLabel(s.Amount_Format, central));
  form->addRow("Döviz biçimi:", new QLabel(s.Currency_Format, central));
  form->addRow("Bilgisayar:", new QLabel(s.Computer_Name, central));
  layout->addLayout(form);
  layout->addStretch();
  setCentralWidget(central);
  resize(520, 240);
}
