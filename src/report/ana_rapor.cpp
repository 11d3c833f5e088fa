// The statement layout and its handlers. Controls keep the names, positions and captions of the
// design; fonts stand in for the designed ones ("Liberation Sans Narrow" for Arial Narrow,
// "Liberation Sans" for Tahoma). Section heights are this layout's own.
#include "report/ana_rapor.h"

#include <QCoreApplication>
#include <QDate>

#include "model/financial_table.h"
#include "process/app_state.h"
#include "report/report_data.h"
#include "ui_common/turkish_text.h"

namespace {

const QString kNarrow = "Liberation Sans Narrow";
const QString kTahoma = "Liberation Sans";
const QString kDesignAmountFormat = "#,##0.00";
constexpr int kFullWidth = 11088;

ReportControl& Set_Font(ReportControl& control, const QString& family, double size, bool bold = false) {
  control.font.family = family;
  control.font.size = size;
  control.font.bold = bold;
  return control;
}

ReportControl& Hidden(ReportControl& control) {
  control.visible = false;
  return control;
}

void Build_Page_Header(ReportSection& s) {
  s.height = 1300;
  Set_Font(s.Add_Label("Firma", "Firma", 0, 0, 3870), kTahoma, 8, true);
  Set_Font(Hidden(s.Add_Label("Saat", "SAAT", 4905, 0, 1260)), kTahoma, 8);
  Set_Font(Hidden(s.Add_Label("Tarih2", "", 6443, 5, 1134)), kTahoma, 8);
  Set_Font(s.Add_Label("basliktarih", "TARİH :", 8265, 0, 630), kTahoma, 8);
  Set_Font(s.Add_Label("Tarih", "", 8895, 0, 2205), kTahoma, 8);
  s.Add_Line("Line15", 0, 240, 3855, 240);
  Set_Font(s.Add_Label("raporbaslik", "", 0, 270, 11085), kTahoma, 10, true).alignment = TextAlign::Center;
  Set_Font(s.Add_Label("SubeAdi", "", 0, 285, 3870), kTahoma, 8);
  Set_Font(s.Add_Label("Label25", "SAYFA :", 8265, 270, 630), kTahoma, 8);
  Set_Font(s.Add_Field("Sayfa", "", 8895, 270, 840), kTahoma, 8);
  Set_Font(s.Add_Label("Label1", "SATIR ADI", 0, 1035, 5670), kTahoma, 8, true);
  Set_Font(s.Add_Label("Label26", QString(30, u' ') + "CARİ", 5670, 1035, 5413), kTahoma, 8, true);
}

void Build_Detail(ReportSection& s) {
  s.height = 255;
  Set_Font(s.Add_Field("txtSatir_Adi", "Satir_Adi", 0, 0, 5670), kNarrow, 9);
  auto amount = [&](const QString& name, const QString& column, int left, int top, int width) -> ReportControl& {
    ReportControl& c = s.Add_Field(name, column, left, top, width, kDesignAmountFormat);
    Set_Font(c, kNarrow, 9);
    c.alignment = TextAlign::Right;
    return c;
  };
  Hidden(amount("txtBTutar", "BTutar", kBTutarLeft, 825, 1695));
  Hidden(amount("txtATutar", "ATutar", kATutarLeft, 825, 1650));
  amount("txtBakiye", "Bakiye", kBakiyeLeft, 0, 1740);
  Hidden(s.Add_Field("txtSatir_Tipi", "Satir_Tipi", 0, 0, 0));
  Hidden(s.Add_Field("txtSatir_Seviyesi", "Satir_Seviyesi", 0, 0, 0));
  s.Add_Line("Satir_Cizgi", 0, 230, kFullWidth, 230);
}

}  // namespace

DetailLook Detail_Look(const QString& satir_tipi, const QString& satir_seviyesi, double bakiye,
                       int previous_left) {
  DetailLook look;
  const bool formula = satir_tipi == QString::number(kRowFormula);
  look.amount_bold = formula;
  look.amount_color = !formula ? QColor(Qt::black) : bakiye > 0 ? kFormulaPositiveColor : kFormulaOtherColor;

  look.amount_left = previous_left;
  if (satir_tipi == QString::number(kRowGroup)) {
    if (satir_seviyesi == "2") look.amount_left = kATutarLeft;
  } else if (!formula) {
    look.amount_left = kBTutarLeft;
  }

  bool number = false;
  look.caption_bold = satir_tipi.trimmed().toInt(&number) == kRowGrandTotal && number;
  if (look.caption_bold) look.amount_left = kATutarLeft;

  look.amount_blank = Amount_Blank(bakiye);
  return look;
}

bool Amount_Blank(double bakiye) { return bakiye == 0; }

QString Group_Caption(const QString& rapor_yeri, const QString& previous) {
  for (int placement : kPlacements)
    if (rapor_yeri == QString::number(placement)) return Placement_Caption(placement);
  return previous;
}

AnaRapor AnaRapor_Layout() {
  AnaRapor report;
  ReportDefinition& r = report.layout;
  r.page = PageSetup{11906, 16838, 409, 409, 720, 720};
  r.report_header.height = 0;
  Build_Page_Header(r.page_header);

  r.group_column = "Rapor_Yeri";
  r.group_header.height = 60;
  Hidden(r.group_header.Add_Field("txtRapor_Yeri", "Rapor_Yeri", 3975, 0, 1440));
  Set_Font(Hidden(r.group_header.Add_Label("Rapor_Yeri", "", 15, 30, 4000)), kTahoma, 9, true);

  Build_Detail(r.detail);

  r.group_footer.height = 60;
  r.group_footer.Add_Line("Line14", 0, 0, kFullWidth, 0);

  r.page_footer.height = 400;
  Hidden(r.page_footer.Add_Label("Label13", "SAYFADAKİ KAYIT SAYISI :", 0, 60, 2500));
  Hidden(r.page_footer.Add_Field("kayitsayisis", "", 2550, 60, 1000));
  r.page_footer.Add_Line("Line16", 0, 330, kFullWidth, 330);

  r.report_footer.height = 60;
  r.report_footer.Add_Line("Line17", 0, 0, kFullWidth, 0);
  return report;
}

QString Report_Title() {
  if (!QCoreApplication::instance()) return "";
  // The program's name: the desktop program sets it from its executable, the command line
  // takes the desktop program's, so both print the same title.
  return Upper_TR(QCoreApplication::applicationName());
}

void ApplyCompanyNumberFormats(const AppState& state, ReportDefinition& layout) {
  const std::pair<QString, const QString*> replacements[] = {
      {"#,##0.00", &state.Amount_Format},
      {"#,##0.000", &state.Unit_Price_Format},
      {"#,##0.0000", &state.Currency_Format},
      {"#,##0.00000", &state.Currency_Unit_Price_Format},
      {"#,##0.000000", &state.Rate_Format},
  };
  for (ReportSection* section : {&layout.page_header, &layout.detail, &layout.page_footer}) {
    for (ReportControl& control : section->controls) {
      for (const auto& [design, company] : replacements) {
        // A company whose parameters were never read keeps the design format.
        if (control.output_format == design && !company->isEmpty()) {
          control.output_format = *company;
          break;
        }
      }
    }
  }
}

void ActiveReport_ReportStart(AppState& state, AnaRapor& report, ReportContext& context) {
  ReportDefinition& layout = context.report;

  const QString title = Report_Title();
  layout.page_header.Control("raporbaslik").text = title;
  report.Caption = title;
  // The company's name stands in the "Firma" label, so a printed statement says whose it is.
  if (!state.Company_Name.isEmpty()) layout.page_header.Control("Firma").text = state.Company_Name;

  // The regional check keeps the system's short date form at dd.MM.yyyy.
  layout.page_header.Control("Tarih").text = QDate::currentDate().toString("dd.MM.yyyy");

  ApplyCompanyNumberFormats(state, layout);

  const bool workplace = !state.Workplace_Name.isEmpty();
  layout.page_header.Control("SubeAdi").text = workplace ? state.Workplace_Name : QString();
  layout.page_header.Control("Line15").visible = workplace;

  layout.detail.Control("Satir_Cizgi").visible = state.Row_Lines;
}

void PageHeader_Format(ReportContext& context) {
  ReportControl& sayfa = context.report.page_header.Control("Sayfa");
  sayfa.value = context.page_number;
  sayfa.text = QString::number(context.page_number);
}

void GroupHeader1_Format(ReportContext& context) {
  ReportSection& header = context.report.group_header;
  ReportControl& caption = header.Control("Rapor_Yeri");
  caption.text = Group_Caption(context.Value("Rapor_Yeri").toString(), caption.text);
  caption.visible = Placement_Heading_Shown(context.Value("Rapor_Yeri").toInt(),
                                            context.Value("Rapor_Tipi").toInt());
  header.height = caption.visible ? 330 : 60;
}

void Detail_Format(ReportContext& context) {
  ReportSection& detail = context.report.detail;
  ReportControl& bakiye = detail.Control("txtBakiye");
  const DetailLook look =
      Detail_Look(context.Value("Satir_Tipi").toString(), context.Value("Satir_Seviyesi").toString(),
                  context.Value("Bakiye").toDouble(), bakiye.left);
  bakiye.font.bold = look.amount_bold;
  bakiye.fore_color = look.amount_color;
  bakiye.left = look.amount_left;
  detail.Control("txtSatir_Adi").font.bold = look.caption_bold;
  if (look.amount_blank) bakiye.text = "";
}

void ActiveReport_ReportEnd(AppState& state, ReportContext&) { state.Export_Waiting = false; }

ReportPages Run_AnaRapor(AppState& state, const ReportDataSource& rows, AnaRapor* out) {
  AnaRapor report = AnaRapor_Layout();
  ReportDefinition layout = report.layout;
  layout.report_start = [&](ReportContext& c) { ActiveReport_ReportStart(state, report, c); };
  layout.page_header_format = PageHeader_Format;
  layout.group_header_format = GroupHeader1_Format;
  layout.detail_format = Detail_Format;
  layout.report_end = [&](ReportContext& c) { ActiveReport_ReportEnd(state, c); };
  ReportPages pages = Run_Report(layout, rows);
  if (out) {
    report.layout.report_start = nullptr;
    report.layout.report_end = nullptr;
    *out = report;
  }
  return pages;
}

ReportPages Run_AnaRapor(AppState& state, AnaRapor* out) {
  const ReportRows rows = Report_Rows(state, state.Report_Sql);
  return Run_AnaRapor(state, rows, out);
}
