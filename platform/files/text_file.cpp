#include "platform/files/text_file.h"

#include <QDir>

#include "platform/text/encoding.h"

namespace files {
namespace {

bool isUtf8(QFile& f) {
  f.seek(0);
  encoding::Utf8Check check;
  while (!f.atEnd())
    if (!check.feed(f.read(1 << 16))) return false;
  return check.valid();
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
  windows1252_ = !isUtf8(file_);
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
  split(windows1252_ ? encoding::fromWindows1252(line) : QString::fromUtf8(line));
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
