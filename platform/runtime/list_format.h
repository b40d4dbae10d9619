// List-format strings: the column layout of a list control written as text.
//
// One group per column, side by side: the width, a justification letter (L left, R right, C centre,
// D decimal) with an optional offset in parentheses, then flags ("|" right border, "M" resizable,
// "_" underline, "F" fixed when scrolling sideways, "I" icon, others kept as they are), then an
// optional header between "~" followed by its own justification letter and offset, an optional
// display picture between "@", and an optional field number between "#". Columns in brackets form
// a group: "[" columns "]", an optional width in parentheses, the group's flags and header. Groups
// do not nest.
//
//   77L(2)|M~Artist~@s50@          a resizable column of width 77 with a right border
//   51L(1)|M~Category~L(0)@s30@    its header left-justified at offset 0
//   [10R|M@p(<)pb@12R|M@n3b@](21)|M~Track~   two columns under the header "Track"
//
// Parsing keeps everything it reads, so writing a parsed format gives the same text back.
#pragma once

#include <QChar>
#include <QString>
#include <optional>
#include <vector>

namespace rt {

struct ListColumn {
  int width = 0;
  QChar justification = 'L';
  int offset = -1;  // -1: none written
  QString flags;    // in the order written
  bool hasHeader = false;
  QString header;
  QChar headerJustification;  // null: none written
  int headerOffset = -1;
  QString picture;  // without the "@" around it
  int field = -1;   // -1: none written
  bool group = false;
  int groupWidth = -1;
  std::vector<ListColumn> columns;  // of a group

  bool rightBorder() const { return flags.contains('|'); }
  bool resizable() const { return flags.contains('M'); }
  bool underline() const { return flags.contains('_'); }
  bool fixed() const { return flags.contains('F'); }
};

// The columns of a format; nullopt when the text is not one (a group within a group, a number
// beyond 32 bits, anything out of the notation).
std::optional<std::vector<ListColumn>> parseListFormat(const QString& format);
QString writeListFormat(const std::vector<ListColumn>& columns);
// The columns that show values, groups opened up, in display order.
std::vector<const ListColumn*> leafColumns(const std::vector<ListColumn>& columns);
std::vector<ListColumn*> leafColumns(std::vector<ListColumn>& columns);

// Every date picture ("@D...") replaced by `datePicture` (written without its "@", as "d6"); the
// format unchanged when `datePicture` is empty.
QString replaceDatePictures(const QString& format, const QString& datePicture);

}  // namespace rt
