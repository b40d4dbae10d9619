// A file declaration for the filter tests: texts of several widths, whole numbers small and large,
// and a memo, with a key so the file is an ordinary indexed file.
#pragma once

#include "platform/files/file.h"

namespace test {

struct SongRecord : files::Record {
  SongRecord() : Record("SNG") {}
  files::String<30> Title{this, "Title"};
  files::String<30> Artist{this, "Artist"};
  files::Long Year{this, "Year"};
  files::Byte Rating{this, "Rating"};
  files::Decimal<18> Plays{this, "Plays"};
  files::String<10> Code{this, "Code"};
  files::Memo<200> Notes{this, "Notes"};
};

struct SongFile : files::File {
  explicit SongFile(SongRecord& r) : File(r, "Songs", "songs", 1), buf(r) {}
  SongRecord& buf;
  files::Key ByArtist{this, "ByArtist", {&buf.Artist}, files::kDuplicates};
};

}  // namespace test
