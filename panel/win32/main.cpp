// ravolin.exe: the radio's front panel. Works in the current folder
// ("host.ini", "freq.ini") and takes no arguments. The radio's USB library,
// mpusbapi.dll, is found beside the program or on the DLL search path.

#include <windows.h>

#include <exception>
#include <string>

#include "base/Application.h"
#include "panel/FormDispatch.h"
#include "panel/Unit1.h"
#include "panel/win32/MainWindow.h"
#include "panel/win32/Win32PanelView.h"
#include "platform/messages.h"
#include "platform/win32/dialog.h"
#include "serve/PanelServers.h"

namespace {

std::string ProgramPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return length > 0 && length < sizeof path ? std::string(path, length) : std::string("ravolin.exe");
}

}  // namespace

int main() {
  try {
    MainWindow window;
    Win32PanelView view(window);  // Timer1 is enabled from here on
    TForm1 form(view, ProgramPath());
    SetApplicationExceptionHandler([&form](const std::exception& error) { form.ReportError(error); });
    window.OnButtonClick = [&form](int number) { RunButtonClick(form, number); };
    window.OnTrackBarScroll = [&form](int position) { RunTrackBarScroll(form, position); };
    view.Timer1().OnTick = [&form] { RunTimer1(form); };
    window.OnClose = [&window] {
      EndProcessIfInHandler();
      DestroyWindow(window.Handle());
    };
    platform::SetDialogWindow(window.Handle());  // Tab moves between the controls

    form.RunHandler([&form] { form.FormCreate(nullptr); });
    // The state feed and the rig-control port, as serve.ini names them.
    PanelServers servers(form, view);
    window.Show();
    platform::RunMessageLoop();

    platform::SetDialogWindow(nullptr);
    SetApplicationExceptionHandler({});
    return 0;
  } catch (const std::exception& error) {
    MessageBoxA(nullptr, error.what(), "ravolin", MB_OK | MB_ICONERROR);
    return 1;
  }
}
