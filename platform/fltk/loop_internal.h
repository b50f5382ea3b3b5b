#pragma once
// What the pieces of the FLTK loop backend share with each other (not part of
// the platform interface).

#include <cstdint>

#include "platform/messages.h"

namespace platform::loop {

// Takes FLTK's lock once on the user-interface thread (without it, posts from
// other threads are dropped) and installs the event counter. Every
// user-interface entry point calls it.
void EnsureStarted();
bool Started();
// True on the thread that started the loop (the user-interface thread).
bool OnLoopThread();

// A counter of work done by the loop: messages dispatched, descriptor
// callbacks run, GUI events delivered. The pump compares it to tell whether a
// pass handled anything.
void NoteActivity();
std::uint64_t Activity();

// Window table lookups, safe from any thread.
bool FindProcedure(WindowHandle window, WindowProc* procedure);

// Timers of a window that is going away.
void StopTimersOf(WindowHandle window);

// Dispatches the messages queued so far (not those posted while doing so).
void DrainQueue();
// Makes sure the loop will wake up and drain the queue (any thread).
void RequestWake();

}  // namespace platform::loop
