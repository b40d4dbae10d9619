// The application shell: the program's entry, its main frame and the frame's program-wide state.
//
// ProgramMain() is the whole program: it runs the start-up sequence and the frame, and returns when
// the frame has closed. It runs on a program thread of its own (see rt::start).
#pragma once

#include <QString>

inline constexpr const char* kProgramTitle = "Cantorix Pro 98";

// Program-wide state the frame establishes.
extern QString VersionText;  // "1.8i" once the frame has opened
extern QString HelpFile;     // registered for the whole program at start-up
// The thread the frame runs on, so that other threads can post it commands; 0 while no frame runs.
extern int FrameThread;
// The frame's command numbers of the windows that can open at start-up, recorded with FrameThread.
struct FrameCommandNumbers {
  int songs = 0;
  int albums = 0;
  int playlists = 0;
  int labels = 0;
};
extern FrameCommandNumbers FrameCommands;

// Names the program to Qt and sets how the application ends; main() calls it before anything else.
void SetUpApplication();
void ProgramMain();
// The main frame's procedure (window position section "Main").
void Main();
// The start-up splash window; on closing it posts the frame the windows chosen to open at start-up.
void SplashWindow();
void AboutBox();

// The default media formats, in the order a new `Media` file receives them.
extern const char* const kDefaultMedia[12];
// Gives an empty, open `Media` file the default media formats.
void FillDefaultMedia();
