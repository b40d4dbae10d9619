#include "storage/messages.h"

#include <optional>

#include "platform/runtime/program.h"

namespace {

std::optional<files::Status> savedError;

struct Message {
  int number;
  const char* caption;
  const char* text;  // %file %field %range %action %laction %error stand for the details
  rt::Icon icon;
  unsigned buttons;
  rt::Button defaultButton;
  const char* halt;  // closing text of a message that ends the program
};

using rt::Icon;
constexpr Icon kInfo = Icon::Information;
constexpr Icon kExcl = Icon::Exclamation;

const Message kMessages[] = {
    {msg::kInvalidFile, "Invalid File", "Error: (%error) accessing %file.  Press OK to end this application.",
     kInfo, rt::kOk, rt::kOk, "Invalid File!"},
    {msg::kInvalidKey, "Invalid Key", "%file key file is invalid.  Do you want to rebuild the key?", kExcl,
     rt::kYesNo, rt::kYes, nullptr},
    {msg::kKeyRebuildError, "Key Rebuild Error",
     "Error: (%error) repairing key for %file.  Press OK to end this application.", kInfo, rt::kOk, rt::kOk,
     "Error Rebuilding Key!"},
    {msg::kFileCreationError, "File Creation Error",
     "Error: (%error) creating %file.  Press OK to end this application.", kInfo, rt::kOk, rt::kOk,
     "File Creation Error!"},
    {msg::kCreatedFileOpenError, "File Creation Error",
     "Error: (%error) opening created file:%file.  Press OK to end this application.", kInfo, rt::kOk,
     rt::kOk, "File Creation Error!"},
    {msg::kRangeError, "Range Error", "The value of %field must be between %range.", kInfo, rt::kOk, rt::kOk,
     nullptr},
    {msg::kFieldContentsError, "Field Contents Error",
     "The value for %field must be found in the %file file.", kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kIntegrityUpdateError, "Referential Integrity Update Error",
     "This record is referenced from the file %file.  Linking field(s) have been restricted from change and "
     "have "
     "been reset to original values.",
     kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kIntegrityDeleteError, "Referential Integrity Delete Error",
     "This record is referenced from the file %file.  This record cannot be deleted while these references "
     "exist.",
     kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kRecordInsertError, "Record Insert Error",
     "An error was experienced during the update of record.  Error: %error.", kInfo, rt::kOk, rt::kOk,
     nullptr},
    {msg::kUpdateOperationError, "Update Operation Error",
     "An error (%error) was experienced when attempting to update a record from the file.  Probable Cause: "
     "%file.",
     kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kUpdateRetry, "Record Update Error",
     "An error was experienced changing this record.  Do you want to try to save again?", kInfo,
     rt::kYesNoCancel, rt::kCancel, nullptr},
    {msg::kDeleteOperationError, "Delete Operation Error",
     "An error (%error) was experienced when attempting to delete a record from the file %file.", kInfo,
     rt::kOk, rt::kOk, nullptr},
    {msg::kDeleteRetry, "Record Update Error",
     "An error was experienced deleting this record.  Do you want to try to save again?", kInfo,
     rt::kYesNoCancel, rt::kCancel, nullptr},
    {msg::kChangeNotAllowed, "Invalid Request",
     "This procedure was called to change a record, however changes are not allowed for this procedure.  "
     "Press OK "
     "to return to the calling procedure",
     kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kDeleteNotAllowed, "Invalid Request",
     "This procedure was called to delete a record, however deletions are not allowed for this procedure.  "
     "Press "
     "OK to return to the calling procedure",
     kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kUpdateCancelled, "Update Cancelled", "Are you sure you want to cancel?", kExcl, rt::kYesNo,
     rt::kNo, nullptr},
    {msg::kDuplicateKeyError, "Duplicate Key Error",
     "Adding this record creates a duplicate entry for the key:%file", kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kAutoIncrementError, "Auto Increment Error",
     "Attempts to automatically number this record have failed.  Error: %error.", kInfo, rt::kRetryCancel,
     rt::kCancel, nullptr},
    {msg::kFileAccessError, "File Access Error", "File (%file) could not be opened.  Error: %error.", kInfo,
     rt::kOk, rt::kOk, "Disk Error"},
    {msg::kConfirmDelete, "Confirm Delete",
     "You've selected to delete the highlighted record.  Press OK to confirm deletion of this record.", kExcl,
     rt::kOkCancel, rt::kCancel, nullptr},
    {msg::kTransactionFramingError, "Transaction Framing Error",
     "Error: (%error) attempting to frame the %laction transaction on %file.  %action transaction cancelled.",
     kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kRecordRetrievalError, "Record Retrieval Error",
     "Error: (%error) attempting to access a record from the %file file.  Returning to previous window.",
     kInfo, rt::kOk, rt::kOk, nullptr},
    {msg::kViewOpenError, "View Open Error",
     "Error: (%error) attempting to open the current VIEW. Filter and Range Limits ignored.", kInfo, rt::kOk,
     rt::kOk, nullptr},
    {msg::kRecordWasNotUpdated, "Record Was Not Updated",
     "This record was changed by another station. Those changes will now be displayed. Use the Ditto Button "
     "or "
     "Ctrl+' to recall your changes.",
     kInfo, rt::kOk, rt::kOk, nullptr},
};

const Message* find(int number) {
  for (const Message& m : kMessages)
    if (m.number == number) return &m;
  return nullptr;
}

// Replaces the placeholders in one pass, so a detail that happens to contain "%file" stays as it is.
QString fill(const QString& text, const MessageDetails& d, const QString& error) {
  const std::pair<QString, QString> subs[] = {{"%error", error},
                                              {"%file", d.file},
                                              {"%field", d.field},
                                              {"%range", d.range},
                                              {"%laction", d.action.toLower()},
                                              {"%action", d.action}};
  QString out;
  for (qsizetype i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '%')
      for (const auto& [key, value] : subs)
        if (text.mid(i, key.size()) == key) {
          out += value;
          i += key.size();
          replaced = true;
          break;
        }
    if (!replaced) out += text[i++];
  }
  return out;
}

}  // namespace

QString ErrorText(const files::Status& e) {
  if (e.code == files::kDriverError) return QString("%1 (%2)").arg(e.driverText).arg(e.driverCode);
  return QString("%1 (%2)").arg(e.text.isEmpty() ? files::errorText(e.code) : e.text).arg(e.code);
}

void SaveError(const files::Status& error) {
  savedError = error;
}
bool HasSavedError() {
  return savedError.has_value();
}

rt::Button StandardMessage(int number, const MessageDetails& details) {
  const files::Status error = savedError.value_or(details.error);
  const Message* m = find(number);
  if (!m && number != msg::kProcessError) return rt::kOk;
  QString text, caption;
  rt::Icon icon = kInfo;
  unsigned buttons = rt::kOk;
  rt::Button def = rt::kOk;
  if (number == msg::kProcessError) {
    caption = details.put ? "Process PUT Error" : "Process DELETE Error";
    text = details.put
               ? "An error was experienced when making changes to the %file file.  Error: %error"
               : "An error was experienced when deleting a record from the %file file.  Error: %error";
  } else {
    caption = m->caption;
    text = m->text;
    icon = m->icon;
    buttons = m->buttons;
    def = m->defaultButton;
  }
  // The message that follows a saved error reports that failure, whether or not it shows the error.
  savedError.reset();
  if (number == msg::kUpdateOperationError && error.code == files::kChangedByOther)
    text = "This record was changed by another station.";
  text = fill(text, details, ErrorText(error));
  const rt::Button answer = rt::message(text, caption, icon, buttons, def);
  if (m && m->halt) rt::halt(m->halt);
  if (number == msg::kInvalidKey && answer == rt::kNo) rt::halt("Invalid Key!");
  return answer;
}

void NotAvailableYet(const QString& caption) {
  rt::message("This function is not available yet.", caption, rt::Icon::Information);
}
