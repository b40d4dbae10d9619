// The songs subsystem's procedures.
//
// BrowseSongs runs on a thread of its own, started from the frame. The others follow the request
// and response convention (storage/requests.h): BrowseCategories and BrowseMedia are maintenance
// windows, or selection lists when called with the request 4; UpdateSong, UpdateCategories and
// UpdateMedia are the forms of one record, called on their caller's thread.
#pragma once

void BrowseSongs();
void UpdateSong();
void BrowseCategories();
void BrowseMedia();
void UpdateCategories();
void UpdateMedia();
