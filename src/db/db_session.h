// What the data layer needs from the program: the open connection, and where the texts of a
// failing statement are shown. The program's messages plug in here, so the data layer includes
// nothing above it.
#pragma once

#include <QString>
#include <functional>
#include <memory>

class Connection;

struct DbSession {
  std::shared_ptr<Connection> connection;
  // Shows one text of a failure (its description, then its statement) as an error.
  std::function<void(const QString& text)> show_error;
};
