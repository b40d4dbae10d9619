#include "platform/files/text_file.h"

#include <QDir>

namespace files {
namespace {

// Code points of Windows-1252 bytes 0x80-0x9F; the rest of the code page matches Latin-1.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of a UTF-8 sequence by its first byte; 0 for a byte that cannot start one.
int sequenceLength(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

bool isValidUtf8(QFile& f) {
  f.seek(0);
  QByteArray carry;
  while (!f.atEnd()) {
    const QByteArray bytes = carry + f.read(1 << 16);
    carry.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
      const int len = sequenceLength(p[i]);
      if (len == 0) return false;
      if (i + len > n) {
        if (f.atEnd()) return false;
        carry = bytes.mid(i);
        break;
      }
      for (int k = 1; k < len; ++k)
        if ((p[i + k] & 0xC0) != 0x80) return false;
      i += len;
    }
  }
  return true;
}

QString padded(const Field& f) {
  QString text = f.isText() ? f.value().toString() : QString::number(f.value().toLongLong());
  if (f.width() > 0) {
    text = fitText(text, f.width());
    // Widths count characters; QString::size() counts UTF-16 units.
    const qsizetype chars = text.toUcs4().size();
    if (chars < f.width()) text += QString(f.width() - chars, ' ');
  }
  return text;
}

}  // namespace

QString fromWindows1252(const QByteArray& bytes) {
  QString out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    out += (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(b);
  }
  return out;
}

TextFile::TextFile(Record& record, const char* label, const QString& name)
    : record_(record), label_(QString::fromLatin1(label)), name_(name) {}

QString TextFile::path() const {
  QString p = name_;
  p.replace('\\', '/');
  return QDir::current().absoluteFilePath(p);
}

Status TextFile::open(Access access) {
  if (file_.isOpen()) return Status::error(kFileAlreadyOpen);
  file_.setFileName(path());
  if (!file_.exists()) return Status::error(kFileNotFound);
  const auto mode =
      access == Access::ReadOnly ? QIODevice::ReadOnly : QIODevice::ReadWrite | QIODevice::Append;
  if (!file_.open(mode)) return Status::error(kAccessDenied, file_.errorString());
  access_ = access;
  windows1252_ = !isValidUtf8(file_);
  set();
  return Status::success();
}

Status TextFile::create() {
  QFile f(path());
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return Status::error(kAccessDenied, f.errorString());
  return Status::success();
}

void TextFile::close() {
  file_.close();
}

void TextFile::set() {
  readAt_ = 0;
  if (!file_.isOpen()) return;
  file_.seek(0);
  if (file_.peek(3) == QByteArray("\xEF\xBB\xBF", 3)) readAt_ = 3;
}

Status TextFile::next() {
  if (!file_.isOpen()) return Status::error(kFileNotOpen);
  if (!file_.seek(readAt_) || file_.atEnd()) return Status::error(kNoRecord);
  QByteArray line = file_.readLine();
  position_ = readAt_;
  readAt_ = file_.pos();
  while (line.endsWith('\n') || line.endsWith('\r'))
    line.chop(1);
  split(windows1252_ ? fromWindows1252(line) : QString::fromUtf8(line));
  return Status::success();
}

void TextFile::split(const QString& line) {
  const auto& fields = record_.fields();
  if (fields.size() == 1) {
    fields[0]->setValue(line);
    return;
  }
  const QList<uint> chars = line.toUcs4();
  qsizetype at = 0;
  for (Field* f : fields) {
    const qsizetype w = f->width() > 0 ? f->width() : chars.size() - at;
    const qsizetype n = qBound<qsizetype>(0, qMin(w, chars.size() - at), chars.size());
    const QString part = QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData() + at), n);
    at += n;
    if (f->isText())
      f->setValue(part);
    else
      f->setValue(part.trimmed().toLongLong());
  }
}

QString TextFile::lineOf() const {
  QString line;
  for (const Field* f : record_.fields())
    line += padded(*f);
  return line;
}

Status TextFile::add() {
  if (!file_.isOpen()) return Status::error(kFileNotOpen);
  if (access_ == Access::ReadOnly) return Status::error(kAccessDenied);
  const QByteArray bytes = (lineOf() + "\r\n").toUtf8();
  file_.seek(file_.size());
  position_ = file_.pos();
  if (file_.write(bytes) != bytes.size() || !file_.flush())
    return Status::error(kAccessDenied, file_.errorString());
  return Status::success();
}

}  // namespace files
