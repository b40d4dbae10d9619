#include "storage/auto_number.h"

#include <limits>
#include <optional>

#include "platform/files/collation.h"
#include "storage/messages.h"

namespace {

qint64 highestValue(const files::Field& f) {
  switch (f.type()) {
    case files::FieldType::Byte:
      return 255;
    case files::FieldType::Decimal: {
      qint64 v = 1;
      for (int i = 0; i < f.width(); ++i)
        v *= 10;
      return v - 1;
    }
    default:
      return std::numeric_limits<int32_t>::max();
  }
}

bool sameKeyValue(const files::Field& f, const QVariant& a, const QVariant& b) {
  if (!f.isText()) return a.toLongLong() == b.toLongLong();
  const QByteArray x = a.toString().toUtf8(), y = b.toString().toUtf8();
  return files::compareText(x.constData(), int(x.size()), y.constData(), int(y.size())) == 0;
}

// The number the key's last component gets, read with the prepared record in the buffer; nullopt
// after a read error.
std::optional<qint64> nextNumber(files::File& file, const files::Key& key,
                                 const files::Record::Snapshot& prepared, files::Status* error) {
  files::Record& rec = file.record();
  const auto& comps = key.components();
  files::Field& numbered = *comps.back();
  std::vector<QVariant> leading;
  for (size_t i = 0; i + 1 < comps.size(); ++i)
    leading.push_back(comps[i]->value());
  if (leading.empty()) {
    file.set(key);
  } else {
    numbered.setValue(qlonglong(highestValue(numbered)));
    file.setFrom(key);
  }
  const files::Status s = file.previous();
  std::optional<qint64> number;
  if (s.code == files::kNoRecord) {
    number = 1;
  } else if (!s) {
    *error = s;
  } else {
    bool same = true;
    for (size_t i = 0; i + 1 < comps.size(); ++i)
      same = same && sameKeyValue(*comps[i], comps[i]->value(), leading[i]);
    number = same ? numbered.value().toLongLong() + 1 : 1;
  }
  rec.restore(prepared);
  return number;
}

}  // namespace

bool NumberAndAdd(files::File& file) {
  files::Record& rec = file.record();
  const files::Record::Snapshot prepared = rec.snapshot();
  for (int failures = 0;;) {
    std::vector<std::pair<files::Field*, qint64>> numbers;
    for (const files::Key* key : file.numberedKeys()) {
      files::Status error;
      const std::optional<qint64> n = nextNumber(file, *key, prepared, &error);
      if (!n) {
        StandardMessage(msg::kRecordRetrievalError, {.file = file.label(), .error = error});
        return false;
      }
      numbers.emplace_back(key->components().back(), *n);
    }
    rec.restore(prepared);
    for (auto& [field, n] : numbers)
      field->setValue(qlonglong(n));
    const files::Status added = file.add();
    if (added) return true;
    if (++failures < 3) continue;
    if (StandardMessage(msg::kAutoIncrementError, {.file = file.label(), .error = added}) != rt::kRetry) {
      rec.restore(prepared);
      return false;
    }
    failures = 0;
  }
}
