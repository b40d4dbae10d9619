#include "tools/tpsfix/page_scan.h"

#include <QFile>
#include <set>

namespace tpsfix {
namespace {

struct Image {
  QByteArray bytes;  // padded with zeros to whole pages
  qint64 size = 0;   // the bytes the file really holds
  int pageSize = 4096;
  int usable = 4096;
  bool truncated = false;  // the file holds fewer pages than its header says, or ends inside one

  int pages() const { return int(bytes.size() / pageSize); }
  // Whether the file ends before byte `to`.
  bool beyondEnd(qint64 to) const { return to > size; }
  qint64 offset(qint64 page) const { return (page - 1) * pageSize; }
  // A page's bytes, or nullptr for a page number the file does not hold.
  const uchar* page(qint64 number) const {
    if (number < 1 || number > pages()) return nullptr;
    return reinterpret_cast<const uchar*>(bytes.constData()) + (number - 1) * pageSize;
  }
};

quint32 be16(const uchar* p) {
  return quint32(p[0]) << 8 | p[1];
}
quint32 be32(const uchar* p) {
  return quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
}

// Reads a varint at p (at most `limit` bytes available); the number of bytes used, 0 if cut off.
int varint(const uchar* p, qint64 limit, qint64* out) {
  quint64 v = 0;
  for (int i = 0; i < 9; ++i) {
    if (i >= limit) return 0;
    if (i == 8) {
      v = (v << 8) | p[i];
      *out = qint64(v);
      return 9;
    }
    v = (v << 7) | (p[i] & 0x7f);
    if (!(p[i] & 0x80)) {
      *out = qint64(v);
      return i + 1;
    }
  }
  return 0;
}

Image load(const QString& path) {
  Image img;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return img;
  img.bytes = f.readAll();
  img.size = img.bytes.size();
  const auto* h = reinterpret_cast<const uchar*>(img.bytes.constData());
  qint64 headerPages = 0;
  if (img.bytes.size() >= 100 && img.bytes.startsWith(QByteArray("SQLite format 3\0", 16))) {
    const quint32 size = be16(h + 16) == 1 ? 65536 : be16(h + 16);
    if (size >= 512 && size <= 65536 && (size & (size - 1)) == 0) img.pageSize = int(size);
    img.usable = img.pageSize - h[20];
    headerPages = be32(h + 28);
  }
  img.truncated = img.size % img.pageSize || headerPages * img.pageSize > img.size;
  // A cut-off last page still holds whole cells at its start; pad it so it can be read.
  if (img.bytes.size() % img.pageSize)
    img.bytes.append(QByteArray(img.pageSize - img.bytes.size() % img.pageSize, 0));
  return img;
}

std::set<qint64> freePages(const Image& img) {
  std::set<qint64> free;
  if (img.bytes.size() < 100) return free;
  qint64 trunk = be32(reinterpret_cast<const uchar*>(img.bytes.constData()) + 32);
  while (trunk && !free.count(trunk)) {
    const uchar* p = img.page(trunk);
    if (!p) break;
    free.insert(trunk);
    const quint32 leaves = be32(p + 4);
    for (quint32 i = 0; i < leaves && 8 + 4 * i + 4 <= quint32(img.usable); ++i)
      free.insert(be32(p + 8 + 4 * i));
    trunk = be32(p);
  }
  return free;
}

// The whole payload of a cell: the part on its page and the overflow chain after it. What the file
// does not hold is left as zeros, and the result says why.
Completeness payload(const Image& img, const uchar* local, qint64 localSize, qint64 total,
                     qint64 firstOverflow, QByteArray* out) {
  out->append(reinterpret_cast<const char*>(local), localSize);
  Completeness got = Completeness::Whole;
  std::set<qint64> seen;
  for (qint64 next = firstOverflow; out->size() < total;) {
    const uchar* p = img.page(next);
    if (!p || !seen.insert(next).second) {
      if (got == Completeness::Whole)
        got = !p && img.truncated && next > img.pages() ? Completeness::CutOff : Completeness::BrokenChain;
      out->append(QByteArray(total - out->size(), 0));
      break;
    }
    const qint64 chunk = qMin<qint64>(img.usable - 4, total - out->size());
    if (img.beyondEnd(img.offset(next) + 4 + chunk)) got = Completeness::CutOff;
    out->append(reinterpret_cast<const char*>(p + 4), chunk);
    next = be32(p);
  }
  return got;
}

// Bytes a value of serial type `t` takes in the body of a record; -1 for the reserved types.
qint64 valueSize(qint64 t) {
  static const int widths[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
  if (t >= 0 && t <= 9) return widths[t];
  return t >= 12 ? (t - 12) / 2 : -1;
}

// Decodes a record into values of the expected column types; false if its shape differs (another
// number of columns, no row id first, values that do not fill the record). A value of another kind
// than its column's (a real, a blob, a text for a number) is kept as an invalid QVariant.
bool decode(const QByteArray& record, qint64 rowid, const std::vector<ColumnType>& columns, ScannedRow* row) {
  const auto* p = reinterpret_cast<const uchar*>(record.constData());
  const qint64 n = record.size();
  qint64 headerSize = 0;
  int at = varint(p, n, &headerSize);
  if (!at || headerSize > n || headerSize < at) return false;
  std::vector<qint64> types;
  while (at < headerSize) {
    qint64 t = 0;
    const int used = varint(p + at, headerSize - at, &t);
    if (!used) return false;
    types.push_back(t);
    at += used;
  }
  if (types.size() != columns.size()) return false;
  qint64 body = headerSize;
  row->rowid = rowid;
  row->values.clear();
  for (size_t i = 0; i < columns.size(); ++i) {
    const qint64 t = types[i], size = valueSize(t);
    if (size < 0 || body + size > n) return false;
    const uchar* v = p + body;
    body += size;
    if (columns[i] == ColumnType::RowId) {
      if (t != 0) return false;
      row->values.emplace_back(qlonglong(rowid));
    } else if (columns[i] == ColumnType::Integer && t >= 1 && t <= 6) {
      qint64 number = (v[0] & 0x80) ? -1 : 0;
      for (qint64 k = 0; k < size; ++k)
        number = (number << 8) | v[k];
      row->values.emplace_back(qlonglong(number));
    } else if (columns[i] == ColumnType::Integer && (t == 8 || t == 9)) {
      row->values.emplace_back(qlonglong(t - 8));
    } else if (columns[i] == ColumnType::Text && t >= 13 && t % 2) {
      row->values.emplace_back(QByteArray(reinterpret_cast<const char*>(v), size));
    } else {
      row->values.emplace_back();
    }
  }
  return body == n;
}

}  // namespace

PageScan scanPages(const QString& path, const std::vector<ColumnType>& columns) {
  PageScan scan;
  const Image img = load(path);
  scan.pages = img.pages();
  const std::set<qint64> free = freePages(img);
  scan.freePages = int(free.size());
  const qint64 u = img.usable;
  const qint64 maxLocal = u - 35, minLocal = (u - 12) * 32 / 255 - 23;
  for (qint64 number = 1; number <= img.pages(); ++number) {
    if (free.count(number)) continue;
    const uchar* page = img.page(number);
    const int headerAt = number == 1 ? 100 : 0;
    if (page[headerAt] != 0x0D) continue;
    const quint32 cells = be16(page + headerAt + 3);
    bool wholeShape = false;
    for (quint32 c = 0; c < cells; ++c) {
      const qint64 pointerAt = headerAt + 8 + 2 * c;
      if (pointerAt + 2 > u) break;
      const qint64 cellAt = be16(page + pointerAt);
      if (cellAt < headerAt + 8 || cellAt >= u) continue;
      qint64 size = 0, rowid = 0;
      int used = varint(page + cellAt, u - cellAt, &size);
      if (!used || size < 0) continue;
      const int usedRowid = varint(page + cellAt + used, u - cellAt - used, &rowid);
      if (!usedRowid) continue;
      const qint64 start = cellAt + used + usedRowid;
      qint64 local = size;
      if (size > maxLocal) {
        const qint64 k = minLocal + (size - minLocal) % (u - 4);
        local = k <= maxLocal ? k : minLocal;
      }
      const qint64 end = start + local + (local < size ? 4 : 0);
      if (end > u) continue;
      QByteArray record;
      Completeness got =
          payload(img, page + start, local, size, local < size ? be32(page + start + local) : 0, &record);
      if (img.beyondEnd(img.offset(number) + end)) got = Completeness::CutOff;
      ScannedRow row;
      if (!decode(record, rowid, columns, &row)) continue;
      row.completeness = got;
      scan.rows.push_back(std::move(row));
      wholeShape = true;
    }
    scan.leafPages += wholeShape;
  }
  return scan;
}

}  // namespace tpsfix
