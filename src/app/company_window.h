// The window shown once a company is open: which company, its fiscal year and formats.
// It stands where the run window will be.
#pragma once

#include <QMainWindow>

struct AppState;

class CompanyWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit CompanyWindow(const AppState& state, QWidget* parent = nullptr);
};
