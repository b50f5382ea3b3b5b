#include "serve/FormPanelControl.h"

#include <exception>
#include <string>

#include "base/Convert.h"
#include "panel/PanelState.h"
#include "platform/diagnostics.h"

namespace {

// A set from the network has nobody at the window to close an error box, so
// an error that escapes the handlers goes to the diagnostics, and the server answers
// with a failure instead.
template <typename F>
bool RunGuarded(const char* action, F&& handlers) {
  try {
    handlers();
    return true;
  } catch (const std::exception& error) {
    platform::WriteDiagnostic(std::string("ravolin: rig control, ") + action + ": " + error.what());
  } catch (...) {
    platform::WriteDiagnostic(std::string("ravolin: rig control, ") + action + ": unknown error");
  }
  return false;
}

}  // namespace

PanelSnapshot FormPanelControl::Read() const {
  return {view_.Edit1Text(), view_.Edit2Text(), view_.TrackBarPosition(), ModeIsSsb != 0, ArxOn != 0};
}

void FormPanelControl::PressDigit(char digit) {
  switch (digit) {
    case '0': form_.Button14Click(nullptr); break;
    case '1': form_.Button4Click(nullptr); break;
    case '2': form_.Button5Click(nullptr); break;
    case '3': form_.Button6Click(nullptr); break;
    case '4': form_.Button7Click(nullptr); break;
    case '5': form_.Button8Click(nullptr); break;
    case '6': form_.Button9Click(nullptr); break;
    case '7': form_.Button10Click(nullptr); break;
    case '8': form_.Button11Click(nullptr); break;
    case '9': form_.Button12Click(nullptr); break;
  }
}

// The kilohertz digits, "," and the tenths digit, then SET: the comma makes
// the next key the tenths digit whether one or five digits came before it,
// and that key moves the track bar, which sends the tenths when it changed.
bool FormPanelControl::Tune(std::int32_t kilohertz, int tenths) {
  return RunGuarded("set frequency", [&] {
    // An entry the operator has half keyed would swallow the first digits;
    // the new frequency replaces it, as a successful SET would end it.
    EntryCount = 0;
    for (char digit : IntToStr(kilohertz)) PressDigit(digit);
    form_.Button13Click(nullptr);
    PressDigit(static_cast<char>('0' + tenths));
    form_.Button15Click(nullptr);
  });
}

bool FormPanelControl::SetMode(bool ssb) {
  return RunGuarded("set mode", [&] {
    if (ssb) {
      form_.Button17Click(nullptr);
    } else {
      form_.Button16Click(nullptr);
    }
  });
}
