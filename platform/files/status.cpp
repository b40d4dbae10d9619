#include "platform/files/status.h"

namespace files {

QString errorText(int code) {
  switch (code) {
    case kNoError:
      return "No error";
    case kFileNotFound:
      return "File Not Found";
    case kAccessDenied:
      return "Access Denied";
    case kFileLocked:
      return "File Is Already Locked";
    case kNoRecord:
      return "Record Not Available";
    case kRecordNotFound:
      return "Record Not Found";
    case kNotADataFile:
      return "Invalid Data File";
    case kFileNotOpen:
      return "File Not Open";
    case kDuplicateKey:
      return "Creates Duplicate Key";
    case kInvalidKey:
      return "Invalid Key File";
    case kLayoutMismatch:
      return "Invalid Record Declaration";
    case kFileAlreadyOpen:
      return "File Already Open";
    case kTransactionActive:
      return "Transaction Already Active";
    case kChangedByOther:
      return "Record Changed By Another Station";
    case kDriverError:
      return "File System Error";
  }
  return "Unknown Error";
}

Status Status::error(int code, const QString& detail) {
  Status s;
  s.code = code;
  s.text = errorText(code);
  if (!detail.isEmpty()) s.driverText = detail;
  return s;
}

Status Status::driver(int driverCode, const QString& driverText) {
  Status s;
  s.code = kDriverError;
  s.text = errorText(kDriverError);
  s.driverCode = driverCode;
  s.driverText = driverText;
  return s;
}

}  // namespace files
