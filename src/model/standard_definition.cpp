// Reading the standard definition files into the definition grids.
#include "model/standard_definition.h"

#include <QDir>

#include "db/suite_text.h"
#include "process/app_state.h"

void Read_Standard_Definition(const QString& text, DefinitionGrids& def) {
  QStringList lines = text.split('\n');
  if (text.endsWith('\n')) lines.removeLast();
  KeyedGrid* grid = &def.FisGrd;
  QString placement = QString::number(kPlaceMain);
  for (QString line : lines) {
    if (line.endsWith('\r')) line.chop(1);
    if (line.toUpper() == "<END>") break;
    QStringList fields = line.split(';');
    fields.removeLast();  // whatever follows the last ";"
    bool placed = false;
    while (!placed) {
      placed = true;
      const int row = grid->Add_Row();
      // Yazilacak, the last column, is computed; fields that would reach it are dropped.
      const int computed = grid->Col_Index("Yazilacak");
      const int placement_col = grid->Col_Index("Rapor_Yeri");
      for (int k = 0; k < fields.size(); ++k) {
        if (k == placement_col && fields[k] != placement) {
          // The row belongs to another placement: take the line again in that grid.
          grid->Remove_Row(row);
          if (fields[k] == QString::number(kPlacePassive)) grid = &def.PasifGrd;
          if (fields[k] == QString::number(kPlaceFootnote)) grid = &def.DipNotGrd;
          placement = fields[k];
          placed = false;
          break;
        }
        if (k < computed) grid->Set_Text(row, k, fields[k]);
      }
      if (placed)
        grid->Set_Text(row, computed,
                       Display_Text(grid->Text(row, "Satir_Kodu"), grid->Text(row, "Satir_Adi")));
    }
  }
}

bool Load_Standard_Definition(AppState& state, int kind, DefinitionGrids& def) {
  const QString file = Standard_Definition_File(kind);
  if (file.isEmpty()) return false;
  const QString path =
      QDir(state.Program_Folder).filePath(QString(kStandardDefinitionFolder) + "/" + file);
  const auto text = Read_Suite_Text_File(path);
  if (!text) {
    state.Message->Critical("Standart tanım dosyası okunamadı: " + QDir::toNativeSeparators(path));
    return false;
  }
  Read_Standard_Definition(*text, def);
  return true;
}
