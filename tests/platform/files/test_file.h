// A small file declaration for the driver's tests: one text key with duplicates, an optional
// two-part key led by a text, a unique optional name key and a numbered identity key.
#pragma once

#include "platform/files/file.h"

namespace test {

struct ItemRecord : files::Record {
  ItemRecord() : Record("ITM") {}
  files::String<10> Name{this, "Name"};
  files::String<10> Group{this, "Group"};
  files::Long Number{this, "Number"};
  files::Byte Small{this, "Small"};
  files::String<10> Code{this, "Code"};
  files::Memo<100> Notes{this, "Notes"};
};

struct ItemFile : files::File {
  explicit ItemFile(ItemRecord& r, const char* name = "items") : File(r, "Items", name, 1), buf(r) {}
  ItemRecord& buf;
  files::Key ByName{this, "ByName", {&buf.Name}, files::kDuplicates};
  files::Key ByGroup{this, "ByGroup", {&buf.Group, &buf.Small}, files::kOptional};
  files::Key ByCode{this, "ByCode", {&buf.Code}, files::kUnique | files::kOptional, "Item Code"};
  files::Key KeyNumber{this, "KeyNumber", {&buf.Number}, files::kPrimary | files::kNumbered};
};

}  // namespace test
