// Fields of a record buffer: fixed-width text, whole numbers and memos.
//
// A field is a value type that knows its name and registers itself with the record that owns it, in
// declaration order, so that a record buffer is declared once as a plain struct:
//
//   struct SongRecord : files::Record {
//     SongRecord() : Record("MUS") {}
//     files::String<50> Artist{this, "Artist"};
//     files::Byte TrackNumber{this, "TrackNumber"};
//     files::Memo<2000> Notes{this, "Notes"};
//   };
//
// A field constructed without an owner is a free-standing value (a program-wide text of a given width).
//
// Text is Unicode; widths count code points. Assigning a text cuts it to the width and drops trailing
// spaces, so a field never holds padding and comparisons ignore trailing spaces by construction.
// Assigning a number outside a numeric field's range stores the nearest value the field can hold.
#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>

namespace files {

class Record;

enum class FieldType { String, Byte, Long, Decimal, Memo };

// Cuts `text` to at most `width` code points and drops trailing spaces (a width of 0 means no limit).
QString fitText(const QString& text, int width);

class Field {
 public:
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;
  virtual ~Field() = default;

  const QString& name() const { return name_; }
  // "MUS:Artist": the owning record's prefix, a colon and the name (the bare name when free-standing).
  QString label() const;
  FieldType type() const { return type_; }
  // Characters for texts and memos, digits for decimals, 0 for binary numbers.
  int width() const { return width_; }
  bool isText() const { return type_ == FieldType::String || type_ == FieldType::Memo; }
  bool isMemo() const { return type_ == FieldType::Memo; }
  Record* owner() const { return owner_; }

  // The value as a QString (texts) or qlonglong (numbers), and assignment from either.
  virtual QVariant value() const = 0;
  virtual void setValue(const QVariant& v) = 0;
  // Blank text or zero.
  virtual bool isBlank() const = 0;
  virtual void clear() = 0;
  // The smallest and the largest value a number field can hold; both 0 for texts.
  virtual qint64 minimum() const { return 0; }
  virtual qint64 maximum() const { return 0; }

 protected:
  Field(Record* owner, const char* name, FieldType type, int width);

 private:
  Record* owner_;
  QString name_;
  FieldType type_;
  int width_;
};

// Text fields: STRING(N) and MEMO(N).
template <int N, FieldType Kind = FieldType::String>
class TextField final : public Field {
 public:
  explicit TextField(Record* owner = nullptr, const char* name = "") : Field(owner, name, Kind, N) {}
  TextField& operator=(const QString& text) {
    text_ = fitText(text, N);
    return *this;
  }
  TextField& operator=(const char* text) { return *this = QString::fromUtf8(text); }
  template <int M, FieldType K>
  TextField& operator=(const TextField<M, K>& other) {
    return *this = other.str();
  }
  TextField& operator=(const TextField& other) { return *this = other.str(); }

  const QString& str() const { return text_; }
  operator const QString&() const { return text_; }
  bool operator==(const QString& other) const { return text_ == fitText(other, 0); }
  bool operator==(const char* other) const { return *this == QString::fromUtf8(other); }

  QVariant value() const override { return text_; }
  void setValue(const QVariant& v) override { *this = v.toString(); }
  bool isBlank() const override { return text_.isEmpty(); }
  void clear() override { text_.clear(); }

 private:
  QString text_;
};

template <int N>
using String = TextField<N, FieldType::String>;
template <int N>
using Memo = TextField<N, FieldType::Memo>;

// Whole-number fields: BYTE, LONG and DECIMAL(D).
template <typename T, FieldType Kind, qint64 Min, qint64 Max, int Width>
class NumberField final : public Field {
 public:
  explicit NumberField(Record* owner = nullptr, const char* name = "") : Field(owner, name, Kind, Width) {}
  NumberField& operator=(qint64 v) {
    value_ = static_cast<T>(v < Min ? Min : v > Max ? Max : v);
    return *this;
  }
  NumberField& operator=(const NumberField& other) { return *this = other.get(); }
  template <typename U, FieldType K, qint64 A, qint64 B, int W>
  NumberField& operator=(const NumberField<U, K, A, B, W>& other) {
    return *this = other.get();
  }
  NumberField& operator+=(qint64 v) { return *this = qint64(value_) + v; }
  NumberField& operator-=(qint64 v) { return *this = qint64(value_) - v; }

  T get() const { return value_; }
  operator T() const { return value_; }

  QVariant value() const override { return qlonglong(value_); }
  void setValue(const QVariant& v) override { *this = v.toLongLong(); }
  bool isBlank() const override { return value_ == 0; }
  void clear() override { value_ = 0; }
  qint64 minimum() const override { return Min; }
  qint64 maximum() const override { return Max; }

  static constexpr qint64 kMin = Min;
  static constexpr qint64 kMax = Max;

 private:
  T value_ = 0;
};

using Byte = NumberField<uint8_t, FieldType::Byte, 0, 255, 0>;
using Long = NumberField<int32_t, FieldType::Long, INT32_MIN, INT32_MAX, 0>;
template <int D>
constexpr qint64 decimalLimit() {
  qint64 v = 1;
  for (int i = 0; i < D; ++i)
    v *= 10;
  return v - 1;
}
template <int D>
using Decimal = NumberField<std::conditional_t<(D <= 4), int16_t, int64_t>, FieldType::Decimal,
                            -decimalLimit<D>(), decimalLimit<D>(), D>;

}  // namespace files
