// GrafikFrm, "Grafik": the statement's chart in a window of its own, drawn to the window's size;
// "Yazdır" prints it on a landscape page, "PNG Kaydet" and "SVG Kaydet" save it ("Grafiği
// Kaydet", proposed in the output folder after the statement and its period).
#pragma once

#include <QDialog>

#include "report/statement_chart.h"

struct AppState;
class QPushButton;

class GrafikFrm : public QDialog {
  Q_OBJECT
 public:
  GrafikFrm(AppState& state, const Statement& statement, QWidget* parent = nullptr);

  const StatementChart& Chart() const { return chart_; }
  // Writes the chart's file; a file that cannot be written is reported. False then.
  bool Save_Png(const QString& path);
  bool Save_Svg(const QString& path);

  QPushButton* YazdirBtn;
  QPushButton* PngBtn;
  QPushButton* SvgBtn;
  QPushButton* KapatBtn;

 private:
  void Print();
  void Save(bool svg);
  // Writes `bytes` to `path`; a file that cannot be written is said.
  bool Write(const QString& path, const QByteArray& bytes);

  AppState& s_;
  StatementChart chart_;
  QString file_base_;
};
