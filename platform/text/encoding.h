// The encodings of text files that other programs write: telling UTF-8 from the code page older
// Windows programs use (Windows-1252), and converting between that code page and text.
//
// Every one of the 256 bytes stands for a character here: the five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) read as the control characters of the same number, as
// Windows reads them. So any bytes decode, and their text encodes back to the very same bytes.
//
// Plain functions of their arguments; safe to call from any thread.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <optional>

namespace encoding {

// Whether bytes are UTF-8, checked piece by piece so that a large file need not be held whole.
// A sequence may run on from one piece into the next.
class Utf8Check {
 public:
  // Takes the next bytes; false once the bytes so far cannot be UTF-8.
  bool feed(QByteArrayView bytes);
  // Whether everything fed is UTF-8, with no sequence left unfinished.
  bool valid() const { return ok_ && pending_ == 0; }

 private:
  bool ok_ = true;
  int pending_ = 0;  // continuation bytes the last sequence still needs
};

bool isUtf8(QByteArrayView bytes);

QString fromWindows1252(QByteArrayView bytes);
// The text in Windows-1252; nullopt when it holds a character the code page has no byte for.
std::optional<QByteArray> toWindows1252(QStringView text);

}  // namespace encoding
