// The outcome of a file operation.
//
// Every operation of the file drivers returns a Status instead of throwing. `code` is one of the
// runtime's error codes below (0 when the operation succeeded) and `text` its wording; for errors the
// driver itself reports (`code` == kDriverError) `driverCode` and `driverText` carry the underlying
// engine's own code and message. A duplicate-key error names the key it broke in `key`.
#pragma once

#include <QString>

namespace files {

enum ErrorCode : int {
  kNoError = 0,
  kFileNotFound = 2,
  kAccessDenied = 5,
  kFileLocked = 32,      // held by another program or station past the wait
  kNoRecord = 33,        // "Record Not Available": end of key, or no current record
  kRecordNotFound = 35,  // get by key or position found nothing
  kNotADataFile = 36,    // the file is not one of ours, or is unreadable as a data file
  kFileNotOpen = 37,
  kDuplicateKey = 40,
  kInvalidKey = 46,      // a key of the file is damaged
  kLayoutMismatch = 47,  // the stored layout differs from the declaration
  kFileAlreadyOpen = 52,
  kTransactionActive = 56,
  kChangedByOther = 89,  // the record was changed by another station since it was read
  kDriverError = 90,
  kInvalidFilter = 800,  // a view's filter does not parse or names an unknown name
};

// Wording of a runtime error code.
QString errorText(int code);

struct [[nodiscard]] Status {
  int code = kNoError;
  QString text;
  int driverCode = 0;
  QString driverText;
  QString key;  // label of the broken key, for kDuplicateKey

  bool ok() const { return code == kNoError; }
  explicit operator bool() const { return ok(); }

  static Status success() { return {}; }
  static Status error(int code, const QString& detail = QString());
  static Status driver(int driverCode, const QString& driverText);
};

}  // namespace files
