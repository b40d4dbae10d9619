#include "platform/files/field.h"

#include "platform/files/record.h"

namespace files {

QString fitText(const QString& text, int width) {
  qsizetype end = text.size();
  if (width > 0 && end > width) {
    // Count code points: a surrogate pair is one character.
    qsizetype units = 0;
    for (int chars = 0; units < end && chars < width; ++chars)
      units += (text[units].isHighSurrogate() && units + 1 < end) ? 2 : 1;
    end = units;
  }
  while (end > 0 && text[end - 1] == ' ')
    --end;
  return end == text.size() ? text : text.left(end);
}

Field::Field(Record* owner, const char* name, FieldType type, int width)
    : owner_(owner), name_(QString::fromLatin1(name)), type_(type), width_(width) {
  if (owner_) owner_->add(this);
}

QString Field::label() const {
  return owner_ ? owner_->prefix() + ":" + name_ : name_;
}

}  // namespace files
