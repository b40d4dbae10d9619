// A key of an indexed file: an ordering of its records by one or more fields.
//
// Keys are declared as members of the file they belong to and register themselves with it. All
// components are ascending and compare text without regard to letter case (beyond ASCII too);
// records with equal values follow one another in the order they were added.
//
//   unique     no two records may agree in every component (adding one fails with kDuplicateKey)
//   optional   records whose leading component is blank or zero are not in the key at all (a song
//              without a category is not in the order by category, whatever its other fields hold)
//   primary    the file's identity key: unique and optional
//   numbered   the last component is numbered by the program when a record is inserted (one above
//              the highest among the records that agree in the earlier components)
#pragma once

#include <QString>
#include <initializer_list>
#include <vector>

namespace files {

class Field;
class File;

enum KeyAttributes : unsigned {
  kDuplicates = 0,
  kUnique = 1u << 0,
  kOptional = 1u << 1,
  kPrimary = (1u << 2) | kUnique | kOptional,
  kNumbered = 1u << 3,
};

class Key {
 public:
  // `description` is what messages name the key by; the label ("MUS:KeyID") when not given.
  Key(File* file, const char* name, std::initializer_list<Field*> components, unsigned attributes,
      const char* description = nullptr);
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;

  File& file() const { return *file_; }
  const QString& name() const { return name_; }
  const QString& label() const { return label_; }
  const QString& description() const { return description_.isEmpty() ? label_ : description_; }
  const std::vector<Field*>& components() const { return components_; }
  bool isUnique() const { return attributes_ & kUnique; }
  bool isOptional() const { return attributes_ & kOptional; }
  bool isPrimary() const { return (attributes_ & kPrimary) == kPrimary; }
  bool isNumbered() const { return attributes_ & kNumbered; }
  unsigned attributes() const { return attributes_; }
  // Whether the buffer's record belongs in this key (always, unless the key is optional and its
  // leading component is blank or zero).
  bool holdsBuffer() const;

 private:
  File* file_;
  QString name_;
  QString label_;
  QString description_;
  std::vector<Field*> components_;
  unsigned attributes_;
};

}  // namespace files
