// DenetimFrm: an audit table in a window (the coverage check, a row's breakdown, an account's
// voucher lines): its title and heading, the table, its notes, and buttons that print it or
// write it to a PDF, HTML, text or Excel file as the statement's output does. A double-click on
// a line that names an account hands its code to the window's account action.
#pragma once

#include <QDialog>
#include <functional>

#include "audit/audit_table.h"

struct AppState;
class QTableWidget;

class DenetimFrm : public QDialog {
  Q_OBJECT
 public:
  using AccountAction = std::function<void(const QString& account, QWidget* window)>;

  DenetimFrm(AppState& state, AuditTable table, QWidget* parent = nullptr,
             AccountAction on_account = {});

  const AuditTable& Table() const { return table_; }
  QTableWidget* Grid() const { return grid_; }
  // The double-click's action on line `row` of the table.
  void Row_Activated(int row);

 private:
  void Export(int kind);

  AppState& s_;
  AuditTable table_;
  AccountAction on_account_;
  QTableWidget* grid_ = nullptr;
};

// Opens `table` in a DenetimFrm of its own over `parent` (deleted when closed) and returns it.
DenetimFrm* Show_Audit_Table(AppState& state, AuditTable table, QWidget* parent,
                             DenetimFrm::AccountAction on_account = {});
