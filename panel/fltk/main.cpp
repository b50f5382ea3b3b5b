// ravolin: the radio's front panel. Works in the current directory
// ("host.ini", "freq.ini") and takes no arguments.

#include <FL/Fl.H>
#include <FL/x.H>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "base/Application.h"
#include "panel/FormDispatch.h"
#include "panel/Unit1.h"
#include "panel/fltk/FltkPanelView.h"
#include "panel/fltk/Fonts.h"
#include "panel/fltk/MainWindow.h"
#include "platform/messages.h"
#include "radio/LinkReport.h"
#include "serve/PanelServers.h"

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
  Fl::fatal = DisplayFailure;
  fl_open_display();
  Fl::lock();  // lets other threads post to the loop
  panel_fonts::Register();

  MainWindow window;
  FltkPanelView view(window);  // Timer1 is enabled from here on
  TForm1 form(view, argv[0]);
  SetApplicationExceptionHandler([&form](const std::exception& error) { form.ReportError(error); });
  // The window's input reaches the panel's handlers through the dispatch.
  window.OnButtonClick = [&form](int number) { RunButtonClick(form, number); };
  window.TrackBar1()->OnScroll = [&form](int position) { RunTrackBarScroll(form, position); };
  view.Timer1().OnTick = [&form] { RunTimer1(form); };
  window.OnClose = [] {
    EndProcessIfInHandler();
    platform::QuitMessageLoop();
  };

  form.RunHandler([&form] { form.FormCreate(nullptr); });
  // Started from a menu there is no terminal to ask; this line, in the
  // session's log, says what became of the radio.
  std::fprintf(stderr, "%s\n", DescribeRadioLink(GatherRadioLinkFacts()).c_str());
  // The state feed and the rig-control port, as serve.ini names them.
  PanelServers servers(form, view);
  window.xclass("ravolin");  // the desktop entry's StartupWMClass: the menu's icon stands for this window
  window.show();
  platform::RunMessageLoop();

  SetApplicationExceptionHandler({});
  return 0;
}
