#include "run/master_file.h"

#include <QRegularExpression>

#include "db/suite_text.h"
#include "process/app_state.h"
#include "process/program_end.h"
#include "run/blank_trim.h"

namespace {

struct FilterColumn {
  const char* key;
  const char* heading;
  int width;
};

const FilterColumn kColumns[] = {
    {"FiltreLbl", "Filtre Adı", 2265},
    {"Baslangic", "Başlangıç Değeri", 3180},
    {"Bitis", "Bitiş Değeri", 3180},
    {"Ayirac", "Ayıraç", 420},
    {"Alan", "Alan_Adi", 3195},
    {"Secenek", "Secenek", 495},
    {"Tip", "Tip", 495},
    {"Girsin", "Girsin", 1080},
    {"CoktanSecmeSecenek", "Coktan Seçmeli Secenek", 1140},
    {"CoktanSecmeSecim", "coktan Secmeli Secim", 4995},
};
constexpr int kShownColumns = 3;

}  // namespace

const QStringList& Filter_Column_Keys() {
  static const QStringList keys = [] {
    QStringList k;
    for (const FilterColumn& c : kColumns) k << QString::fromUtf8(c.key);
    return k;
  }();
  return keys;
}

KeyedGrid Make_Filter_Grid() {
  KeyedGrid grid(Filter_Column_Keys());
  for (int col = 0; col < grid.Cols(); ++col) {
    grid.Set_Text(0, col, QString::fromUtf8(kColumns[col].heading));
    grid.Set_Col_Width(col, kColumns[col].width);
    grid.Set_Col_Hidden(col, col >= kShownColumns);
  }
  return grid;
}

QString Master_Base_Sql_Error() {
  return QString::fromUtf8(
      "Temel SQL Deyimi Alınırken Bir Hata Oluştu. Dosya Bozulmuş Yada Dosya Yapısı İle "
      "Oynanmış");
}

QString Master_Filter_Error() {
  return QString::fromUtf8(
      "Filtreler Düzenlenirken bir Hata Oluştu Raporun Master Dosyası Bozulmuş. Lütfen Program "
      "Satıcınızla Görüşün.");
}

bool Filtreye_Ekle(KeyedGrid& grid, const QString& BFFR) {
  const int row = grid.Add_Row();
  int col = -1;
  qsizetype position = 0;
  while (position != BFFR.size()) {
    const qsizetype end = BFFR.indexOf(';', position);
    if (end < 0 || ++col >= grid.Cols()) {
      grid.Remove_Row(row);
      return false;
    }
    grid.Set_Text(row, col, BFFR.mid(position, end - position));
    position = end + 1;
  }
  return true;
}

QString ReadMasterText(const QString& text, QString& base_sql, QString& group_sql,
                       KeyedGrid& grid) {
  static const QRegularExpression line_break("\r\n|\r|\n");
  QStringList lines = text.split(line_break);
  // A final line break ends the last line; it does not start an empty one.
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();

  qsizetype next = 0;
  auto read_line = [&](QString& line) {
    if (next >= lines.size()) return false;
    line = lines.at(next++);
    return true;
  };

  QString result;
  QString line;
  if (!read_line(line)) return Master_Filter_Error();
  if (line != "<TEMELSQL>") result = Master_Base_Sql_Error();

  base_sql.clear();
  for (;;) {
    if (!read_line(line)) return Master_Filter_Error();
    if (line == "<GROUPSQL>") break;
    base_sql += line;
  }
  group_sql.clear();
  for (;;) {
    if (!read_line(line)) return Master_Filter_Error();
    if (line == "<FILTRE>") break;
    group_sql += line;
  }
  for (;;) {
    if (!read_line(line)) return Master_Filter_Error();
    if (line == "<END>") return result;
    if (!Filtreye_Ekle(grid, Trim_Blanks(line))) return Master_Filter_Error();
  }
}

QString ReadMasterFile(AppState& state, KeyedGrid& grid, const QString& path) {
  std::optional<QString> text = Read_Suite_Text_File(path);
  if (!text) return Master_Filter_Error();
  return ReadMasterText(*text, state.Base_Sql, state.Group_Sql, grid);
}

QString Master_File_Path(const AppState& state) { return state.Program_Folder + "/Master.mtr"; }

QString Master_Base_Sql_Not_Read_Only(const QString& path) {
  return QString::fromUtf8(
             "Rapor tanım dosyasındaki temel sorgu yalnızca okuyan tek bir SELECT olmalıdır; "
             "rapor çalıştırılmadı.\n%1")
      .arg(path);
}

QString ReadMasterFile(AppState& state, KeyedGrid& grid) {
  return ReadMasterFile(state, grid, Master_File_Path(state));
}

void Load_Master_File(AppState& state, KeyedGrid& grid) {
  const QString message = ReadMasterFile(state, grid);
  if (message.isEmpty()) return;
  state.Message->Critical(message);
  throw ProgramEnd{1};
}
