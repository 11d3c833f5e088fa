// The statement layout and its handlers. Controls keep the names and captions of the design;
// positions fit an A4 page with 15 mm margins; fonts stand in for the designed ones ("Liberation
// Sans Narrow" for Arial Narrow, "Liberation Sans" for Tahoma).
#include "report/ana_rapor.h"

#include <QCoreApplication>
#include <QDate>
#include <algorithm>
#include <cmath>

#include "calc/natural_side.h"
#include "model/financial_table.h"
#include "report/output_format.h"
#include "ui_common/turkish_text.h"
#include "ui_common/twips.h"

namespace {

const QString kNarrow = "Liberation Sans Narrow";
const QString kTahoma = "Liberation Sans";
const QString kDesignAmountFormat = "#,##0.00";
constexpr int kFullWidth = kBodyWidth;
// A4 with 15 mm margins.
constexpr int kMargin = 850;
// Detail rows: an ordinary row, and a result row with room for its rules.
constexpr int kRowHeight = 255;
constexpr int kResultRowHeight = 420;
constexpr int kResultTextTop = 75;

ReportControl& Set_Font(ReportControl& control, const QString& family, double size,
                        bool bold = false) {
  control.font.family = family;
  control.font.size = size;
  control.font.bold = bold;
  return control;
}

ReportControl& Hidden(ReportControl& control) {
  control.visible = false;
  return control;
}

ReportControl& Aligned(ReportControl& control, TextAlign alignment) {
  control.alignment = alignment;
  return control;
}

// Company and workplace on the left, date and page on the right; the statement's name and
// period centred under them; the column headings over a rule.
void Build_Page_Header(ReportSection& s) {
  s.height = 1720;
  Set_Font(s.Add_Label("Firma", "Firma", 0, 0, 7000), kTahoma, 10, true);
  Set_Font(Hidden(s.Add_Label("Saat", "SAAT", 4905, 0, 1260)), kTahoma, 8);
  Set_Font(Hidden(s.Add_Label("Tarih2", "", 6443, 5, 1134)), kTahoma, 8);
  Set_Font(s.Add_Label("basliktarih", "TARİH :", kOuterAmountLeft, 20, 700), kTahoma, 8);
  Aligned(Set_Font(s.Add_Label("Tarih", "", kOuterAmountLeft + 700, 20, kAmountWidth - 700),
                   kTahoma, 8),
          TextAlign::Right);
  s.Add_Line("Line15", 0, 270, 3855, 270);
  Set_Font(s.Add_Label("SubeAdi", "", 0, 300, 7000), kTahoma, 8);
  Set_Font(s.Add_Label("Label25", "SAYFA :", kOuterAmountLeft, 300, 700), kTahoma, 8);
  Aligned(Set_Font(s.Add_Field("Sayfa", Page_Of_Count_Field, kOuterAmountLeft + 700, 300,
                               kAmountWidth - 700),
                   kTahoma, 8),
          TextAlign::Right);
  ReportControl& title = s.Add_Label("raporbaslik", "", 0, 680, kFullWidth);
  Aligned(Set_Font(title, kTahoma, 13, true), TextAlign::Center).height = 330;
  Aligned(Set_Font(s.Add_Label("Donem", "", 0, 1040, kFullWidth), kTahoma, 9), TextAlign::Center);
  Set_Font(s.Add_Label("Label1", "SATIR ADI", 0, 1420, kCaptionWidth), kTahoma, 8, true);
  Aligned(Set_Font(s.Add_Label("Label26", QString(30, u' ') + "CARİ", kInnerAmountLeft, 1420,
                               kFullWidth - kInnerAmountLeft),
                   kTahoma, 8, true),
          TextAlign::Right);
  s.Add_Line("Line18", 0, 1670, kFullWidth, 1670).line_width = 20;
}

void Build_Detail(ReportSection& s) {
  s.height = kRowHeight;
  Set_Font(s.Add_Field("txtSatir_Adi", "Satir_Adi", 0, 0, kCaptionWidth), kNarrow, 9);
  auto amount = [&](const QString& name, const QString& column, int left,
                    int top) -> ReportControl& {
    ReportControl& c = s.Add_Field(name, column, left, top, kAmountWidth, kDesignAmountFormat);
    Set_Font(c, kNarrow, 9);
    c.alignment = TextAlign::Right;
    return c;
  };
  Hidden(amount("txtBTutar", "BTutar", kInnerAmountLeft, 825));
  Hidden(amount("txtATutar", "ATutar", kMiddleAmountLeft, 825));
  amount("txtBakiye", "Bakiye", kOuterAmountLeft, 0);
  Hidden(s.Add_Field("txtSatir_Tipi", "Satir_Tipi", 0, 0, 0));
  Hidden(s.Add_Field("txtSatir_Seviyesi", "Satir_Seviyesi", 0, 0, 0));
  s.Add_Line("Satir_Cizgi", 0, 230, kFullWidth, 230);
  // The rules of a result row, over its amount column.
  Hidden(s.Add_Line("Ust_Cizgi", 0, 30, kAmountWidth, 30));
  Hidden(s.Add_Line("Alt_Cizgi1", 0, 340, kAmountWidth, 340));
  Hidden(s.Add_Line("Alt_Cizgi2", 0, 385, kAmountWidth, 385));
}

// A number stored in a text or number column; empty when it is none.
std::optional<int> Stored_Number(const QVariant& value) {
  bool ok = false;
  const int number = value.toString().trimmed().toInt(&ok);
  return ok ? std::optional<int>(number) : std::nullopt;
}

}  // namespace

int Amount_Left(AmountPlace place) {
  switch (place) {
    case AmountPlace::Inner: return kInnerAmountLeft;
    case AmountPlace::Middle: return kMiddleAmountLeft;
    case AmountPlace::Outer: break;
  }
  return kOuterAmountLeft;
}

DetailLook Detail_Look(std::optional<int> satir_tipi, std::optional<int> satir_seviyesi,
                       double bakiye, bool net_result) {
  DetailLook look;
  const bool typed = satir_tipi.has_value(), levelled = satir_seviyesi.has_value();
  const int type = satir_tipi.value_or(0);
  const int level = satir_seviyesi.value_or(0);
  const bool formula = typed && type == kRowFormula;
  const bool grand_total = typed && type == kRowGrandTotal;
  look.amount_bold = formula;
  // Amounts print black: a loss shows by its minus sign, which survives any printer.
  look.amount_color = Qt::black;

  look.amount_place = AmountPlace::Inner;
  if (grand_total) {
    look.amount_place = AmountPlace::Outer;
  } else if (typed && (type == kRowGroup || formula) && levelled) {
    if (level <= 1)
      look.amount_place = AmountPlace::Outer;
    else if (level == 2)
      look.amount_place = AmountPlace::Middle;
  }

  // Footnotes are sentences, not headings: never bold.
  look.caption_bold = grand_total || (levelled && level <= 1 && !(typed && type == kRowFootnote));
  look.caption_indent = levelled ? std::clamp(level - 1, 0, 5) * kLevelIndent : 0;
  look.amount_blank = Amount_Blank(bakiye);
  look.result_rules = net_result;
  look.page_rules = !typed ? 0 : type == kRowSingleRule ? 1 : type == kRowDoubleRule ? 2 : 0;
  return look;
}

bool Is_Net_Result(const ReportDataSource& rows, int row) {
  const std::optional<int> type = Stored_Number(rows.Value(row, "Satir_Tipi"));
  if (type == kRowGrandTotal) return true;
  if (type != kRowFormula) return false;
  for (int later = row + 1; later < rows.Row_Count(); ++later)
    if (Stored_Number(rows.Value(later, "Satir_Tipi")) == kRowFormula) return false;
  return true;
}

// Sums of amounts in cents leave float noise where a balance is nil (an account offset at the
// month's end): what rounds to zero at the formulas' 4 decimals is zero.
bool Amount_Blank(double bakiye) { return Is_Nil(bakiye); }

QString Group_Caption(const QString& rapor_yeri, const QString& previous) {
  for (int placement : kPlacements)
    if (rapor_yeri == QString::number(placement)) return Placement_Caption(placement);
  return previous;
}

AnaRapor AnaRapor_Layout() {
  AnaRapor report;
  ReportDefinition& r = report.layout;
  r.page = PageSetup{11906, 16838, kMargin, kMargin, kMargin, kMargin};
  r.report_header.height = 0;
  Build_Page_Header(r.page_header);

  r.group_column = "Rapor_Yeri";
  r.group_header.height = 60;
  r.group_header.repeat_on_page = true;
  Hidden(r.group_header.Add_Field("txtRapor_Yeri", "Rapor_Yeri", 3975, 0, 1440));
  Set_Font(Hidden(r.group_header.Add_Label("Rapor_Yeri", "", 0, 140, 5000)), kTahoma, 10, true);
  Hidden(r.group_header.Add_Line("Rapor_Yeri_Cizgi", 0, 400, 5000, 400));

  Build_Detail(r.detail);

  r.group_footer.height = 160;
  r.group_footer.closing = true;
  r.group_footer.Add_Line("Line14", 0, 100, kFullWidth, 100);

  r.page_footer.height = 400;
  Hidden(r.page_footer.Add_Label("Label13", "SAYFADAKİ KAYIT SAYISI :", 0, 60, 2500));
  Hidden(r.page_footer.Add_Field("kayitsayisis", "", 2550, 60, 1000));
  r.page_footer.Add_Line("Line16", 0, 330, kFullWidth, 330);

  r.report_footer.height = 60;
  r.report_footer.closing = true;
  r.report_footer.Add_Line("Line17", 0, 0, kFullWidth, 0);
  return report;
}

QString Report_Title() {
  if (!QCoreApplication::instance()) return "";
  // The program's name: the desktop program sets it from its executable, the command line
  // takes the desktop program's, so both print the same title.
  return Upper_TR(QCoreApplication::applicationName());
}

void ApplyCompanyNumberFormats(const StatementStyle& style, ReportDefinition& layout) {
  const std::pair<QString, const QString*> replacements[] = {
      {"#,##0.00", &style.amount_format},     {"#,##0.000", &style.unit_price_format},
      {"#,##0.0000", &style.currency_format}, {"#,##0.00000", &style.currency_unit_price_format},
      {"#,##0.000000", &style.rate_format},
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

void ActiveReport_ReportStart(const Statement& statement, AnaRapor& report,
                              ReportContext& context) {
  const StatementHeading& heading = statement.heading;
  ReportDefinition& layout = context.report;
  ReportSection& header = layout.page_header;

  // The window keeps the program's name; the page says which statement it is.
  report.Caption = Report_Title();
  header.Control("raporbaslik").text = heading.title.isEmpty() ? report.Caption : heading.title;
  header.Control("Donem").text = heading.period;
  header.Control("Firma").text = heading.company.isEmpty() ? QString("Firma") : heading.company;

  // The regional check keeps the system's short date form at dd.MM.yyyy.
  header.Control("Tarih").text = heading.print_date.toString("dd.MM.yyyy");

  ApplyCompanyNumberFormats(statement.style, layout);

  const bool workplace = !heading.workplace.isEmpty();
  header.Control("SubeAdi").text = workplace ? "İşyeri : " + heading.workplace : QString();
  header.Control("Line15").visible = workplace;

  layout.detail.Control("Satir_Cizgi").visible = statement.style.row_lines;
}

void PageHeader_Format(ReportContext& context) {
  // "n / N": the count is filled in once the last page is known.
  context.report.page_header.Control("Sayfa").value = context.page_number;
}

void GroupHeader1_Format(ReportContext& context) {
  ReportSection& header = context.report.group_header;
  ReportControl& caption = header.Control("Rapor_Yeri");
  caption.text = Group_Caption(context.Value("Rapor_Yeri").toString(), caption.text);
  caption.visible = Placement_Heading_Shown(context.Value("Rapor_Yeri").toInt(),
                                            context.Value("Rapor_Tipi").toInt());
  header.Control("Rapor_Yeri_Cizgi").visible = caption.visible;
  header.height = caption.visible ? 520 : 60;
}

void Detail_Format(ReportContext& context) {
  ReportSection& detail = context.report.detail;
  ReportControl& bakiye = detail.Control("txtBakiye");
  ReportControl& adi = detail.Control("txtSatir_Adi");
  const DetailLook look =
      Detail_Look(Stored_Number(context.Value("Satir_Tipi")),
                  Stored_Number(context.Value("Satir_Seviyesi")),
                  context.Value("Bakiye").toDouble(), Is_Net_Result(context.data, context.row));
  const int amount_left = Amount_Left(look.amount_place);
  bakiye.font.bold = look.amount_bold;
  bakiye.fore_color = look.amount_color;
  bakiye.left = amount_left;
  adi.font.bold = look.caption_bold;
  adi.left = look.caption_indent;
  adi.width = kCaptionWidth - look.caption_indent;
  // The indentation places a caption; blanks stored around it would only shift it.
  adi.text = adi.text.trimmed();
  if (look.amount_blank) bakiye.text = "";

  const int text_top = look.result_rules ? kResultTextTop : 0;
  detail.height = look.result_rules ? kResultRowHeight : kRowHeight;
  bakiye.top = text_top;
  adi.top = text_top;
  detail.Control("Satir_Cizgi").top = detail.height - 25;
  const int rule_tops[] = {30, 340, 385};
  int i = 0;
  for (const char* name : {"Ust_Cizgi", "Alt_Cizgi1", "Alt_Cizgi2"}) {
    ReportControl& rule = detail.Control(name);
    rule.visible = look.result_rules;
    rule.left = amount_left;
    rule.width = kAmountWidth;
    rule.top = rule_tops[i++];
  }
  // A rule row draws its rules across the page, in the middle of the row.
  for (int k = 0; k < look.page_rules; ++k) {
    ReportControl& rule = detail.Control(k == 0 ? "Alt_Cizgi1" : "Alt_Cizgi2");
    rule.visible = true;
    rule.left = 0;
    rule.width = kFullWidth;
    rule.top = kRowHeight / 2 - 20 + 45 * k;
  }
}

// ---- Several amount columns ----

int Column_Of_Control(const QString& control) {
  for (const QString& prefix : {kColumnAmountControl, kColumnTitleControl}) {
    if (!control.startsWith(prefix)) continue;
    bool ok = false;
    const int column = control.mid(prefix.size()).toInt(&ok);
    return ok ? column : -1;
  }
  return -1;
}

QString Column_Amount_Text(const Statement& statement, size_t column, const RowAmounts& amounts,
                           const QString& amount_format) {
  if (!amounts.balance) return {};
  const double value = *amounts.balance;
  if (statement.columns[column].kind == ColumnKind::Change) {
    // Turkish writes the sign of a percentage before the number: "%12,5", "-%3,0".
    const QString size = Apply_Output_Format("#,##0.0", std::fabs(value));
    return (value < 0 && size != "0,0" ? "-%" : "%") + size;
  }
  return Amount_Blank(value) ? QString() : Apply_Output_Format(amount_format, value);
}

namespace {

constexpr int kLandscapeBodyWidth = 16838 - 2 * kMargin;
// Room between two amounts, and between the caption and the first amount.
constexpr int kColumnGap = 180;
// The caption's room the font is made smaller for, before the columns take more.
constexpr int kMinimumCaptionWidth = 3600;
// Columns are given up to this width while the caption keeps the room it is given after them.
constexpr int kRoomyColumnWidth = 2000;
constexpr int kRoomyCaptionWidth = 6000;
constexpr int kNoteHeight = 240;

// A character's advance in ems in Liberation Sans, rounded up; its narrow face is 82 % as wide.
double Char_Ems(QChar c, bool bold) {
  if (c.isDigit()) return 0.556;
  if (c == u'.' || c == u',' || c == u' ' || c == u'(' || c == u')') return 0.333;
  if (c == u'-') return 0.333;
  if (c == u'%') return 0.889;
  if (c.isUpper()) return bold ? 0.72 : 0.68;
  return bold ? 0.56 : 0.51;
}

// How wide a text prints, a little over: what the page decides with it must never fall short.
int Text_Twips(const QString& text, const ReportFont& font) {
  double ems = 0;
  for (const QChar c : text) ems += Char_Ems(c, font.bold);
  if (font.family == kNarrow) ems *= 0.82;
  return static_cast<int>(std::ceil(ems * font.size * kTwipsPerPoint));
}

// A caption cut into what fits `width` and the rest, at a blank where there is one; the rest is
// cut short with an ellipsis when it does not fit on its own line either.
std::pair<QString, QString> Wrapped_Caption(const QString& text, int width,
                                            const ReportFont& font) {
  if (Text_Twips(text, font) <= width) return {text, {}};
  qsizetype cut = text.size();
  while (cut > 1 && Text_Twips(text.left(cut), font) > width) --cut;
  const qsizetype blank = text.lastIndexOf(u' ', cut);
  if (blank > 0) cut = blank;
  QString rest = text.mid(cut).trimmed();
  if (Text_Twips(rest, font) > width) {
    while (rest.size() > 1 && Text_Twips(rest + QChar(0x2026), font) > width) rest.chop(1);
    rest = rest.trimmed() + QChar(0x2026);
  }
  return {text.left(cut).trimmed(), rest};
}

// Where the columns print: the caption's room on the left, then one column per amount column
// in print order, as wide as the widest figure or title (wider where the page has room), the
// last ending at the right margin. The font is made smaller until the caption keeps its room.
struct ColumnsGeometry {
  std::vector<size_t> order;
  int body_width = kBodyWidth;
  int caption_width = 0;
  int column_width = 0;
  double font_size = 9;
  int Left(size_t position) const {
    return caption_width + static_cast<int>(position) * column_width;
  }
};

ColumnsGeometry Columns_Geometry(const Statement& statement) {
  ColumnsGeometry g;
  g.order = Printed_Columns(statement);
  g.body_width = g.order.size() > 3 ? kLandscapeBodyWidth : kBodyWidth;
  const QString format =
      statement.style.amount_format.isEmpty() ? kDesignAmountFormat : statement.style.amount_format;
  const int count = static_cast<int>(g.order.size());
  for (const double size : {9.0, 8.5, 8.0, 7.5, 7.0, 6.5, 6.0}) {
    g.font_size = size;
    const ReportFont amount{kNarrow, size, true}, title{kTahoma, size - 1, true};
    int widest = 0;
    for (const size_t c : g.order) {
      widest = std::max(widest, Text_Twips(statement.columns[c].title, title));
      for (const Statement::Row& row : statement.rows)
        if (c < row.amounts.size())
          widest =
              std::max(widest, Text_Twips(Column_Amount_Text(statement, c, row.amounts[c], format),
                                          amount));
    }
    g.column_width =
        std::max(widest + kColumnGap,
                 std::min(kRoomyColumnWidth, (g.body_width - kRoomyCaptionWidth) / count));
    g.caption_width = g.body_width - count * g.column_width;
    if (g.caption_width >= kMinimumCaptionWidth) break;
  }
  return g;
}

// The one-column layout turned into the columns' layout: the page turned when it must, the
// header's right-hand texts and rules to the right margin, the note under the period, the
// columns' titles over their amounts.
void Lay_Out_Columns(const Statement& statement, const ColumnsGeometry& g, ReportDefinition& r) {
  if (g.body_width != kBodyWidth)
    r.page = PageSetup{16838, 11906, kMargin, kMargin, kMargin, kMargin};
  const int wider = g.body_width - kBodyWidth;
  ReportSection& h = r.page_header;
  for (const char* name : {"basliktarih", "Tarih", "Label25", "Sayfa"})
    h.Control(name).left += wider;
  for (const char* name : {"raporbaslik", "Donem", "Line18"}) h.Control(name).width = g.body_width;
  const bool note = !statement.heading.note.isEmpty();
  const int down = note ? kNoteHeight : 0;
  h.height += down;
  h.Control("Line18").top += down;
  Hidden(h.Control("Label1"));
  Hidden(h.Control("Label26"));
  ReportControl& note_label = h.Add_Label("Not", statement.heading.note, 0, 1290, g.body_width);
  Aligned(Set_Font(note_label, kTahoma, 8), TextAlign::Center).visible = note;
  const int titles_top = 1420 + down;
  Set_Font(h.Add_Label("lblSatir_Adi", "SATIR ADI", 0, titles_top, g.caption_width), kTahoma,
           g.font_size - 1, true);
  for (size_t i = 0; i < g.order.size(); ++i) {
    const size_t c = g.order[i];
    ReportControl& title =
        h.Add_Label(kColumnTitleControl + QString::number(c), statement.columns[c].title, g.Left(i),
                    titles_top, g.column_width);
    Aligned(Set_Font(title, kTahoma, g.font_size - 1, true), TextAlign::Right);
  }

  ReportSection& d = r.detail;
  Hidden(d.Control("txtBakiye"));
  d.Control("txtSatir_Adi").font.size = g.font_size;
  d.Control("Satir_Cizgi").width = g.body_width;
  Set_Font(Hidden(d.Add_Label("txtSatir_Adi" + kContinuedSuffix, "", 0, 0, 0)), kNarrow,
           g.font_size);
  for (size_t i = 0; i < g.order.size(); ++i) {
    const QString c = QString::number(g.order[i]);
    ReportControl& amount = d.Add_Field(kColumnAmountControl + c, QString(), g.Left(i), 0,
                                        g.column_width, kDesignAmountFormat);
    Aligned(Set_Font(amount, kNarrow, g.font_size), TextAlign::Right);
    const int from = g.Left(i) + kColumnGap, to = g.Left(i) + g.column_width;
    Hidden(d.Add_Line("Ust_Cizgi_" + c, from, 30, to, 30));
    Hidden(d.Add_Line("Alt_Cizgi1_" + c, from, 340, to, 340));
    Hidden(d.Add_Line("Alt_Cizgi2_" + c, from, 385, to, 385));
  }
  r.group_footer.Control("Line14").width = g.body_width;
  r.page_footer.Control("Line16").width = g.body_width;
  r.report_footer.Control("Line17").width = g.body_width;
}

// Detail_Format of the columns: the caption as the one-column page places it (wrapped onto a
// second line where it would reach the first amount), each column's figure by the one-column
// page's rules, the result rules under every column.
void Columns_Detail_Format(const Statement& statement, const ColumnsGeometry& g,
                           ReportContext& context) {
  ReportSection& detail = context.report.detail;
  const Statement::Row& row = statement.rows[static_cast<size_t>(context.row)];
  const DetailLook look = Detail_Look(row.kind, row.level, 0, row.net_result);
  const int top = look.result_rules ? kResultTextTop : 0;
  bool figured = false;
  for (const size_t c : g.order) {
    const QString n = QString::number(c);
    ReportControl& amount = detail.Control(kColumnAmountControl + n);
    const RowAmounts figures = c < row.amounts.size() ? row.amounts[c] : RowAmounts{};
    amount.text = Column_Amount_Text(statement, c, figures, amount.output_format);
    amount.value = amount.text.isEmpty() ? QVariant() : QVariant(*figures.balance);
    figured = figured || !amount.text.isEmpty();
    amount.font.bold = look.amount_bold;
    amount.fore_color = look.amount_color;
    amount.top = top;
    for (const char* rule : {"Ust_Cizgi_", "Alt_Cizgi1_", "Alt_Cizgi2_"})
      detail.Control(rule + n).visible = look.result_rules;
  }
  ReportControl& adi = detail.Control("txtSatir_Adi");
  adi.font.bold = look.caption_bold;
  adi.left = look.caption_indent;
  // A row without a figure (a footnote) has the whole line.
  adi.width = (figured ? g.caption_width - kColumnGap : g.body_width) - look.caption_indent;
  adi.top = top;
  const auto [first, rest] = Wrapped_Caption(adi.text.trimmed(), adi.width, adi.font);
  adi.text = first;
  ReportControl& more = detail.Control("txtSatir_Adi" + kContinuedSuffix);
  more.font = adi.font;
  more.left = adi.left;
  more.width = adi.width;
  const int line_height = static_cast<int>(g.font_size * 25);  // the caption's second line
  more.top = top + line_height;
  more.text = rest;
  more.visible = !rest.isEmpty();
  detail.height =
      (look.result_rules ? kResultRowHeight : kRowHeight) + (rest.isEmpty() ? 0 : line_height);

  detail.Control("Satir_Cizgi").top = detail.height - 25;
  for (const char* name : {"Ust_Cizgi", "Alt_Cizgi1", "Alt_Cizgi2"})
    detail.Control(name).visible = false;
  // A rule row draws its rules across the page, in the middle of the row.
  for (int k = 0; k < look.page_rules; ++k) {
    ReportControl& rule = detail.Control(k == 0 ? "Alt_Cizgi1" : "Alt_Cizgi2");
    rule.visible = true;
    rule.left = 0;
    rule.width = g.body_width;
    rule.top = kRowHeight / 2 - 20 + 45 * k;
  }
}

}  // namespace

ReportPages Run_AnaRapor(const Statement& statement, AnaRapor* out) {
  AnaRapor report = AnaRapor_Layout();
  ReportDefinition layout = report.layout;
  layout.report_start = [&](ReportContext& c) { ActiveReport_ReportStart(statement, report, c); };
  layout.page_header_format = PageHeader_Format;
  layout.group_header_format = GroupHeader1_Format;
  layout.detail_format = Detail_Format;
  ColumnsGeometry geometry;
  if (statement.columns.size() > 1) {
    geometry = Columns_Geometry(statement);
    Lay_Out_Columns(statement, geometry, layout);
    layout.detail_format = [&](ReportContext& c) { Columns_Detail_Format(statement, geometry, c); };
  }
  ReportPages pages = Run_Report(layout, StatementData(statement));
  if (out) {
    report.layout.report_start = nullptr;
    *out = report;
  }
  return pages;
}
