#include "audit/audit_table_window.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "process/app_state.h"
#include "report/exports.h"
#include "report/output_window.h"
#include "ui_common/guarded.h"

DenetimFrm::DenetimFrm(AppState& state, AuditTable table, QWidget* parent, AccountAction on_account)
    : QDialog(parent), s_(state), table_(std::move(table)), on_account_(std::move(on_account)) {
  setWindowTitle(table_.title);
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(table_.title, this);
  QFont title_font = title->font();
  title_font.setBold(true);
  title_font.setPointSizeF(title_font.pointSizeF() * 1.2);
  title->setFont(title_font);
  layout->addWidget(title);
  if (!table_.heading.isEmpty()) {
    auto* heading = new QLabel(table_.heading.join('\n'), this);
    heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(heading);
  }

  const int columns = static_cast<int>(table_.columns.size());
  grid_ = new QTableWidget(static_cast<int>(table_.rows.size()), columns, this);
  grid_->setObjectName("DenetimGrd");
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->setAlternatingRowColors(true);
  for (int c = 0; c < columns; ++c) {
    auto* header = new QTableWidgetItem(table_.columns[c].caption);
    header->setTextAlignment(table_.columns[c].amount ? Qt::AlignRight | Qt::AlignVCenter
                                                      : Qt::AlignLeft | Qt::AlignVCenter);
    grid_->setHorizontalHeaderItem(c, header);
  }
  for (int r = 0; r < static_cast<int>(table_.rows.size()); ++r) {
    const AuditRow& row = table_.rows[r];
    for (int c = 0; c < columns; ++c) {
      QString text = Audit_Cell_Text(s_, table_, row, c);
      if (c == 0) text.prepend(QString(4 * row.depth, ' '));
      auto* item = new QTableWidgetItem(text);
      item->setTextAlignment(table_.columns[c].amount ? Qt::AlignRight | Qt::AlignVCenter
                                                      : Qt::AlignLeft | Qt::AlignVCenter);
      if (row.bold) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      if (!row.account.isEmpty() && on_account_)
        item->setToolTip(QString::fromUtf8("Çift tıklayın: hesabın fiş satırları"));
      grid_->setItem(r, c, item);
    }
  }
  grid_->resizeColumnsToContents();
  // The widest text column of the printed page takes the room left.
  int stretch = -1;
  for (int c = 0; c < columns; ++c)
    if (!table_.columns[c].amount &&
        (stretch < 0 || table_.columns[c].width > table_.columns[stretch].width))
      stretch = c;
  if (stretch >= 0) grid_->horizontalHeader()->setSectionResizeMode(stretch, QHeaderView::Stretch);
  connect(grid_, &QTableWidget::cellDoubleClicked, this,
          Guard(*s_.Message, [this](int row, int) { Row_Activated(row); }));
  layout->addWidget(grid_, 1);
  if (!table_.notes.isEmpty()) {
    auto* notes = new QLabel(table_.notes.join('\n'), this);
    notes->setWordWrap(true);
    notes->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(notes);
  }

  auto* buttons = new QHBoxLayout;
  const struct {
    const char* name;
    const char* caption;
    int kind;  // -1 prints
  } actions[] = {{"YazdirBtn", "Yazdır", -1},
                 {"PdfBtn", "PDF", static_cast<int>(ExportKind::Pdf)},
                 {"ExcelBtn", "Excel", static_cast<int>(ExportKind::Excel)},
                 {"HtmlBtn", "Html", static_cast<int>(ExportKind::Html)},
                 {"TextBtn", "Text", static_cast<int>(ExportKind::Text)}};
  for (const auto& action : actions) {
    auto* button = new QPushButton(QString::fromUtf8(action.caption), this);
    button->setObjectName(action.name);
    button->setAutoDefault(false);
    const int kind = action.kind;
    connect(button, &QPushButton::clicked, this,
            Guard(*s_.Message, [this, kind](bool) { Export(kind); }));
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  auto* close = new QPushButton(QString::fromUtf8("Kapat"), this);
  close->setObjectName("KapatBtn");
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(close);
  layout->addLayout(buttons);

  int width = 40;
  for (int c = 0; c < columns; ++c) width += grid_->columnWidth(c);
  resize(std::clamp(width, 640, 1100),
         std::clamp(260 + grid_->rowHeight(0) * static_cast<int>(table_.rows.size()), 320, 720));
}

void DenetimFrm::Row_Activated(int row) {
  if (row < 0 || row >= static_cast<int>(table_.rows.size())) return;
  const QString account = table_.rows[row].account;
  if (!account.isEmpty() && on_account_) on_account_(account, this);
}

void DenetimFrm::Export(int kind) {
  const ReportPages pages = Audit_Pages(s_, table_);
  if (kind < 0)
    Print_Pages(pages, table_.title, this);
  else
    Export_Pages(s_, pages, static_cast<ExportKind>(kind), table_.title,
                 (QStringList{table_.title} + table_.heading.mid(0, 2)).join(" "), this);
}

DenetimFrm* Show_Audit_Table(AppState& state, AuditTable table, QWidget* parent,
                             DenetimFrm::AccountAction on_account) {
  auto* window = new DenetimFrm(state, std::move(table), parent, std::move(on_account));
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowModality(Qt::WindowModal);
  window->show();
  return window;
}
