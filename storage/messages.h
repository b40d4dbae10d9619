// The numbered standard messages with which every file and record error is reported.
//
// One routine shows them all: StandardMessage(number, details) builds the caption, the text, the icon
// and the buttons from the table in messages.cpp and returns the button the user chose. Messages
// that end the program (1, 3, 4, 5, 30, and a No to 2) stop it after the user has seen them.
//
// ⟨error⟩ in a text is the error's wording, a space and its code in parentheses; for an error the
// driver itself reported, the driver's own message and code. A saved error (SaveError) takes the
// place of the error passed in, for the next message only: an error saved when a write failed must
// not be replaced by whatever the roll-back that followed left behind.
#pragma once

#include <QString>

#include "platform/files/status.h"
#include "platform/runtime/message.h"

namespace msg {
// The messages' numbers, as the table in messages.cpp and the numbers shown with them know them.
enum : int {
  kInvalidFile = 1,
  kInvalidKey = 2,
  kKeyRebuildError = 3,
  kFileCreationError = 4,
  kCreatedFileOpenError = 5,
  kRangeError = 10,
  kFieldContentsError = 11,
  kIntegrityUpdateError = 12,
  kIntegrityDeleteError = 13,
  kRecordInsertError = 14,
  kUpdateOperationError = 15,
  kUpdateRetry = 16,
  kDeleteOperationError = 17,
  kDeleteRetry = 18,
  kChangeNotAllowed = 20,
  kDeleteNotAllowed = 21,
  kUpdateCancelled = 23,
  kDuplicateKeyError = 24,
  kAutoIncrementError = 25,
  kFileAccessError = 30,
  kProcessError = 31,
  kConfirmDelete = 32,
  kTransactionFramingError = 34,
  kRecordRetrievalError = 35,
  kViewOpenError = 36,
  kRecordWasNotUpdated = 38,
};
}  // namespace msg

struct MessageDetails {
  QString file;  // label or text naming the file
  QString field;
  QString range;
  QString action;  // "Delete" or "Update"
  files::Status error;
  bool put = false;  // message 31: a put rather than a delete
};

rt::Button StandardMessage(int number, const MessageDetails& details = {});

// Keeps `error` for the next message that shows an error.
void SaveError(const files::Status& error);
bool HasSavedError();

// "text (code)", or for driver errors "driver message (driver code)".
QString ErrorText(const files::Status& error);

// Says that the window or function `caption` names is not part of the program yet.
void NotAvailableYet(const QString& caption);
