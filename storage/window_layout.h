// Saving and restoring where a window stands and how its lists' columns are laid out, in
// ".\POSITION.INI" under a section named after the window's procedure.
//
// Positions: "XPosit", "YPosit", "Width", "Height" of the normal window and "Maximize" ("Yes"/"No").
// A window closed while minimised keeps the position it had before; a stored 0 counts as missing, so
// a window stored at left edge 0 opens where the system puts it. A stored place is cut to the screen
// before use: no larger than the screen, and on it.
//
// List layouts: "SRCF?"+control holds the list's current column format, "SRCFOriginal?"+control the
// format the window was designed with when that layout was saved. When a new version changes a
// list's design, the user's old layout is dropped once and the new design shown; so is a saved
// layout that is not a valid format.
#pragma once

#include <QString>

namespace rt {
class Window;
}

void SaveWindowPosition(rt::Window& window, const QString& section);
void RestoreWindowPosition(rt::Window& window, const QString& section);

// The column format a list opens with, given the format it was designed with.
QString RestoreListLayout(const QString& section, const QString& control, const QString& designed);
void SaveListLayout(const QString& section, const QString& control, const QString& current);
