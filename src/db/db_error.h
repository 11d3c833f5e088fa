// A database error as the program sees it: a number and a description. Connection refusals,
// failing statements and recordset misuse all arrive as DbError; a refused duplicate key is
// recognisable on every engine through Is_Duplicate(). what() is the description in UTF-8.
#pragma once

#include <QString>
#include <stdexcept>

// ADO's numbers for the errors the program reacts to.
constexpr long kErrItemNotFound = 3265;               // field name not in the collection
constexpr long kErrNoCurrentRecord = 3021;            // BOF or EOF
constexpr long kErrObjectClosed = 3704;               // recordset is closed
constexpr long kErrIntegrityViolation = -2147217873;  // 0x80040E2F DB_E_INTEGRITYVIOLATION
constexpr long kErrConnectionRefused = -2147467259;   // 0x80004005
constexpr long kErrLockTimeout =
    -2147217871;  // 0x80040E31 DB_E_TIMEOUT: a lock was not granted in time
constexpr long kErrStatement = -2147217900;  // 0x80040E14 syntax or other statement error
// The server refused the user or the password (0x80040E4D); the login counts it as a failed
// attempt.
constexpr long kErrLoginRefused = -2147217843;

struct DbError : std::runtime_error {
  DbError(long number, const QString& description)
      : std::runtime_error(description.toStdString()), Number(number), Description(description) {}

  long Number = 0;
  QString Description;

  bool Is_Duplicate() const { return Number == kErrIntegrityViolation; }
  bool Is_Lock_Timeout() const { return Number == kErrLockTimeout; }
};
