#include "platform/files/transaction.h"

#include "platform/files/database.h"
#include "platform/files/file.h"

namespace files {

Status beginTransaction(int waitMs, std::initializer_list<File*> files) {
  for (const File* f : files)
    if (!f->isOpen()) return Status::error(kFileNotOpen, f->label());
  return detail::Database::instance().begin(waitMs);
}

Status commit() {
  return detail::Database::instance().commit();
}

void rollback() {
  detail::Database::instance().rollback();
}

bool inTransaction() {
  return detail::Database::instance().inTransaction();
}

}  // namespace files
