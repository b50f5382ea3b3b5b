// ravolin: the radio's front panel. Takes no arguments and works in the
// folder it is started in ("host.ini", "freq.ini"; app/WorkingFolder.h).

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/ProgramStart.h"
#include "app/WorkingFolder.h"
#include "panel/FormDispatch.h"
#include "panel/Unit1.h"
#include "panel/fltk/FltkPanelView.h"
#include "panel/fltk/Fonts.h"
#include "panel/fltk/MainWindow.h"
#include "platform/messages.h"

namespace {

[[noreturn]] void DisplayFailure(const char* format, ...) {
  std::fprintf(stderr, "ravolin: ");
  va_list args;
  va_start(args, format);
  std::vfprintf(stderr, format, args);
  va_end(args);
  std::fprintf(stderr, "\nravolin: the panel needs an X display; run it in a desktop session or under Xvfb.\n");
  std::exit(1);
}

// Where the panel works when an installed copy is started in its own folder:
// the folder the desktop launcher gives it.
std::filesystem::path UserFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config == '/') return std::filesystem::path(config) / "ravolin";
  const char* home = std::getenv("HOME");
  return home && *home ? std::filesystem::path(home) / ".config" / "ravolin" : std::filesystem::path();
}

bool DisplayNamed() {
  const char* display = std::getenv("DISPLAY");
  return display != nullptr && *display != '\0';
}

}  // namespace

int main(int, char** argv) {
  if (!DisplayNamed()) {
    std::fprintf(stderr,
                 "ravolin: no display (DISPLAY is not set).\n"
                 "ravolin: the panel needs an X display; run it in a desktop session or under Xvfb.\n");
    return 1;
  }
  SettleWorkingFolder(argv[0], UserFolder());
  Fl::fatal = DisplayFailure;
  fl_open_display();
  Fl::lock();  // lets other threads post to the loop
  panel_fonts::Register();

  MainWindow window;
  FltkPanelView view(window);  // Timer1 is enabled from here on
  TForm1 form(view, argv[0]);
  window.OnButtonClick = [&form](int number) { RunButtonClick(form, number); };
  window.TrackBar1()->OnScroll = [&form](int position) { RunTrackBarScroll(form, position); };
  view.Timer1().OnTick = [&form] { RunTimer1(form); };
  window.OnClose = [] {
    EndProcessIfInHandler();
    platform::QuitMessageLoop();
  };

  ProgramStart start(form, view);
  window.xclass("ravolin");  // the desktop entry's StartupWMClass: the menu's icon stands for this window
  window.show();
  platform::RunMessageLoop();
  return 0;
}
