#pragma once
// Runs the panel's handlers for the window's input, the way the window system
// does: a click, a track-bar scroll notification, a Timer1 tick, each inside
// TForm1::RunHandler: an error that escapes a handler is shown in the error
// box and the program goes on. Shared by the window backends.

#include "panel/Unit1.h"

// Button4 to Button21, by number.
void RunButtonClick(TForm1& form, int number);
void RunTrackBarScroll(TForm1& form, int position);
void RunTimer1(TForm1& form);

// True while any handler started above is running (a nested message loop
// inside it may be serving the current event).
bool HandlerRunning();

// For a close of the window, which ends the program: from inside a handler (a
// fetch waiting for its server, say) the loop cannot unwind in good time, so
// the process ends right here, output flushed. Otherwise it returns and the
// caller ends the loop. Nothing is sent to the radio either way.
void EndProcessIfInHandler();
