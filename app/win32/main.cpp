// ravolin.exe: the radio's front panel. Takes no arguments and works in the
// folder it is started in ("host.ini", "freq.ini"; app/WorkingFolder.h). The
// radio's USB library, mpusbapi.dll, is found beside the program or on the
// DLL search path.

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "app/ProgramStart.h"
#include "app/WorkingFolder.h"
#include "panel/FormDispatch.h"
#include "panel/Unit1.h"
#include "panel/win32/MainWindow.h"
#include "panel/win32/Win32PanelView.h"
#include "platform/messages.h"
#include "platform/win32/dialog.h"

namespace {

std::string ProgramPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string("ravolin.exe");
}

// Where the panel works when the installed copy is started in its own folder:
// the folder its Start-menu shortcut starts it in.
std::filesystem::path UserFolder() {
  const char* appData = std::getenv("APPDATA");
  return appData && *appData ? std::filesystem::path(appData) / "Ravolin" : std::filesystem::path();
}

}  // namespace

int main() {
  try {
    SettleWorkingFolder(ProgramPath(), UserFolder());
    MainWindow window;
    Win32PanelView view(window);  // Timer1 is enabled from here on
    TForm1 form(view, ProgramPath());
    window.OnButtonClick = [&form](int number) { RunButtonClick(form, number); };
    window.OnTrackBarScroll = [&form](int position) { RunTrackBarScroll(form, position); };
    view.Timer1().OnTick = [&form] { RunTimer1(form); };
    window.OnClose = [&window] {
      EndProcessIfInHandler();
      DestroyWindow(window.Handle());
    };
    platform::SetDialogWindow(window.Handle());  // Tab moves between the controls
    platform::SetDialogKeyFilter(
        [&window](unsigned message, std::uintptr_t key) { return window.PressButtonForKey(message, key); });

    ProgramStart start(form, view);
    window.Show();
    platform::RunMessageLoop();

    platform::SetDialogKeyFilter({});
    platform::SetDialogWindow(nullptr);
    return 0;
  } catch (const std::exception& error) {
    MessageBoxA(nullptr, error.what(), "ravolin", MB_OK | MB_ICONERROR);
    return 1;
  }
}
