// The songs subsystem's procedures: the songs browse (its own thread, started from the frame).
#pragma once

void BrowseSongs();
