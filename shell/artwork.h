// The program's own pictures, drawn in code and registered under the names windows use for them
// ("kvx98nte.gif" the frame logo, "kvx98-3.gif" the splash picture, the toolbar icons).
#pragma once

void RegisterArtwork();
