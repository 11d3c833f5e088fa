// Layout of a banded report: sections are placed top to bottom on the page body, never split;
// a section that no longer fits ends the page (page footer at the bottom) and starts the next
// (page header at the top). The report header opens the first page above its page header, the
// report footer follows the last detail. Page-count fields are filled once the last page is known.
#include "report/report_engine.h"

#include <stdexcept>

#include "report/output_format.h"

// ---- Sections and their controls ----

ReportControl& ReportSection::Control(const QString& control_name) {
  for (ReportControl& control : controls) {
    if (control.name == control_name) return control;
  }
  throw std::out_of_range("no control " + control_name.toStdString() + " in " + name.toStdString());
}

const ReportControl& ReportSection::Control(const QString& control_name) const {
  return const_cast<ReportSection*>(this)->Control(control_name);
}

namespace {

ReportControl Make_Control(const QString& name, ControlKind kind, int left, int top, int width) {
  ReportControl control;
  control.name = name;
  control.kind = kind;
  control.left = left;
  control.top = top;
  control.width = width;
  return control;
}

}  // namespace

ReportControl& ReportSection::Add_Label(const QString& control_name, const QString& caption,
                                        int left, int top, int width) {
  ReportControl control = Make_Control(control_name, ControlKind::Label, left, top, width);
  control.text = caption;
  controls.push_back(control);
  return controls.back();
}

ReportControl& ReportSection::Add_Field(const QString& control_name, const QString& column,
                                        int left, int top, int width,
                                        const QString& output_format) {
  ReportControl control = Make_Control(control_name, ControlKind::Field, left, top, width);
  control.column = column;
  control.output_format = output_format;
  controls.push_back(control);
  return controls.back();
}

ReportControl& ReportSection::Add_Line(const QString& control_name, int x1, int y1, int x2,
                                       int y2) {
  ReportControl control = Make_Control(control_name, ControlKind::Line, x1, y1, x2 - x1);
  control.height = y2 - y1;
  controls.push_back(control);
  return controls.back();
}

QVariant ReportContext::Value(const QString& column) const {
  return row < 0 ? QVariant() : data.Value(row, column);
}

ReportDefinition::ReportDefinition() {
  report_header.name = "ReportHeader";
  page_header.name = "PageHeader";
  group_header.name = "GroupHeader1";
  detail.name = "Detail";
  group_footer.name = "GroupFooter1";
  page_footer.name = "PageFooter";
  report_footer.name = "ReportFooter";
}

// ---- Layout ----

namespace {

struct PageCountSlot {
  size_t page;
  size_t text;
  QString format;
  bool with_number;  // "n / N"
};

class Layout {
 public:
  Layout(ReportDefinition& report, const ReportDataSource& data) : report_(report), data_(data) {
    result_.setup = report.page;
  }

  ReportPages Run() {
    ReportContext start = Context(-1);
    Call(report_.report_start, start);

    const bool grouped = !report_.group_column.isEmpty();
    const int rows = data_.Row_Count();
    row_ = rows > 0 ? 0 : -1;
    Start_Page();
    QString key;
    for (int row = 0; row < rows; ++row) {
      const QString row_key = data_.Value(row, report_.group_column).toString();
      if (grouped && (row == 0 || row_key != key)) {
        group_open_ = false;
        if (row > 0) Place(report_.group_footer, nullptr);
        row_ = row;
        Place(report_.group_header, &report_.group_header_format);
        group_open_ = true;
      }
      key = row_key;
      row_ = row;
      Place(report_.detail, &report_.detail_format);
    }
    group_open_ = false;
    if (grouped && rows > 0) Place(report_.group_footer, nullptr);
    Place(report_.report_footer, nullptr);
    End_Page();

    const int count = static_cast<int>(result_.pages.size());
    for (const PageCountSlot& slot : page_count_slots_) {
      QString text = Apply_Output_Format(slot.format, count);
      if (slot.with_number)
        text = Apply_Output_Format(slot.format, static_cast<int>(slot.page) + 1) + " / " + text;
      result_.pages[slot.page].texts[slot.text].text = text;
    }
    ReportContext end = Context(row_);
    Call(report_.report_end, end);
    return std::move(result_);
  }

 private:
  ReportContext Context(int row) {
    return ReportContext{report_, data_, row, static_cast<int>(result_.pages.size())};
  }

  static void Call(const ReportHook& hook, ReportContext& context) {
    if (hook) hook(context);
  }

  int Body_Bottom() const {
    const PageSetup& p = report_.page;
    return p.height - p.margin_bottom -
           (report_.page_footer.visible ? report_.page_footer.height : 0);
  }

  // Fields read the current row (or the page number) before the section's hook runs.
  void Fill_Fields(ReportSection& section) {
    const int page = static_cast<int>(result_.pages.size());
    for (ReportControl& control : section.controls) {
      if (control.kind != ControlKind::Field) continue;
      if (control.column == Page_Number_Field) {
        control.value = page;
        control.text = Apply_Output_Format(control.output_format, page);
      } else if (control.column != Page_Count_Field && control.column != Page_Of_Count_Field) {
        control.value = data_.Value(row_, control.column);
        control.text = Apply_Output_Format(control.output_format, control.value);
      }
    }
  }

  // Places a body section, starting a new page first when it does not fit, then formats it
  // (fields, hook) so the hook sees the page it prints on.
  void Place(ReportSection& section, const ReportHook* hook) {
    if (!section.visible) return;
    if (section.closing && y_ + section.height > Body_Bottom()) return;
    if (y_ + section.height > Body_Bottom() && y_ > body_top_) {
      End_Page();
      Start_Page();
    }
    Fill_Fields(section);
    if (hook) {
      ReportContext context = Context(row_);
      Call(*hook, context);
    }
    if (!section.visible) return;
    if (y_ + section.height > Body_Bottom() && y_ > body_top_) {
      End_Page();
      Start_Page();
    }
    Emit(section, y_);
    y_ += section.height;
  }

  void Start_Page() {
    ReportPage page;
    page.number = static_cast<int>(result_.pages.size()) + 1;
    result_.pages.push_back(page);
    y_ = report_.page.margin_top;
    // The report header opens the first page, above its page header.
    ReportSection& opening = report_.report_header;
    if (result_.pages.size() == 1 && opening.visible) {
      Fill_Fields(opening);
      Emit(opening, y_);
      y_ += opening.height;
    }
    ReportSection& header = report_.page_header;
    if (header.visible) {
      Fill_Fields(header);
      ReportContext context = Context(row_);
      Call(report_.page_header_format, context);
      if (header.visible) {
        Emit(header, y_);
        y_ += header.height;
      }
    }
    body_top_ = y_;
    // A group that goes on over the page break heads the new page again.
    if (group_open_ && report_.group_header.repeat_on_page) {
      Place(report_.group_header, &report_.group_header_format);
      body_top_ = y_;
    }
  }

  void End_Page() {
    ReportSection& footer = report_.page_footer;
    if (!footer.visible) return;
    Fill_Fields(footer);
    Emit(footer, report_.page.height - report_.page.margin_bottom - footer.height);
  }

  void Emit(const ReportSection& section, int top) {
    ReportPage& page = result_.pages.back();
    const int left = report_.page.margin_left;
    for (const ReportControl& control : section.controls) {
      if (!control.visible) continue;
      if (control.kind == ControlKind::Line) {
        page.lines.push_back(PageLine{left + control.left, top + control.top,
                                      left + control.left + control.width,
                                      top + control.top + control.height, control.line_width,
                                      control.fore_color, control.name, section.name});
        continue;
      }
      if (control.kind == ControlKind::Field &&
          (control.column == Page_Count_Field || control.column == Page_Of_Count_Field)) {
        page_count_slots_.push_back({result_.pages.size() - 1, page.texts.size(),
                                     control.output_format, control.column == Page_Of_Count_Field});
      }
      page.texts.push_back(PageText{control.text, left + control.left, top + control.top,
                                    control.width, control.height, control.font, control.fore_color,
                                    control.alignment, control.name, section.name,
                                    control.kind == ControlKind::Field ? control.value : QVariant(),
                                    control.output_format});
    }
  }

  ReportDefinition& report_;
  const ReportDataSource& data_;
  ReportPages result_;
  std::vector<PageCountSlot> page_count_slots_;
  int row_ = -1;
  int y_ = 0;
  int body_top_ = 0;
  bool group_open_ = false;  // a group header has been placed and its footer not yet
};

}  // namespace

ReportPages Run_Report(ReportDefinition definition, const ReportDataSource& data) {
  return Layout(definition, data).Run();
}
