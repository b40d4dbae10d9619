// The work of the two-station reliability tools (stress.cpp, kill_trials.cpp): a catalogue built
// for it, the operations a station runs on it, all through the integrity routines and transactions,
// and the check of every relation between the files afterwards.
//
// The catalogue: categories 1..categories, albums 1..albums each with songsPerAlbum songs (every
// other one also joined by file number), counters songs 1..counters that belong to no album and are
// never deleted, playlists with five entries each. Albums use only the first albumCategories
// categories, so the others can be renumbered (their songs follow) and these never can.
//
// Runs on a program thread; the files are the program's record buffers (storage/records.h).
#pragma once

#include <QRandomGenerator>

#include "platform/files/file.h"

namespace bench {

struct Shape {
  int albums = 2000, songsPerAlbum = 6, counters = 20, playlists = 20, categories = 12, albumCategories = 3;
  int keptAlbums = 0;  // albums 1..keptAlbums are never deleted
};

// Every database file, and the A_Songs alias.
void openCatalogue();
void closeCatalogue();
// Fills the open, empty files.
void buildCatalogue(const Shape& shape);

struct Tally {
  qint64 increments = 0, rereads = 0, deleted = 0, refused = 0, renumbered = 0, added = 0, entries = 0,
         busy = 0;
  qint64 wrongReports = 0;  // a routine said done but the change is not there, or failed and it is
};

// Reads the record of `key` that the buffer's values name. Unknown when the read itself failed:
// another station held the file past the wait.
enum class Lookup { Found, Missing, Unknown };
Lookup lookUp(files::File& file, files::Key& key);

// Adds 1 to a counter song's BeatsPerMinute (watched read, update routine, again after a re-read);
// true when an increment was committed.
bool increment(QRandomGenerator& r, const Shape& shape, Tally& t);
// Deletes an album with its songs (refused while a playlist holds one of them), checking the outcome.
// Each station deletes only albums whose number is `share` modulo 2: an album the other station
// deleted meanwhile would make a correctly failed deletion look like a wrong report.
void deleteAlbum(QRandomGenerator& r, const Shape& shape, Tally& t, int share);
// Renumbers a category, swapping between n and n + 1000: its songs follow, and albums refuse it.
void renumberCategory(QRandomGenerator& r, const Shape& shape, Tally& t);
// Adds a song to an album, checking the album inside the transaction that adds the song.
void addSong(QRandomGenerator& r, const Shape& shape, Tally& t);
// Adds a playlist entry for an existing song, or removes a playlist's first entry.
void changeEntries(QRandomGenerator& r, const Shape& shape, Tally& t);

// The number of broken relations: songs of missing albums or categories, albums of missing
// categories, playlist entries of missing songs or playlists. `counterSum` gets the counters' total.
int brokenRelations(const Shape& shape, qint64* counterSum);

}  // namespace bench
