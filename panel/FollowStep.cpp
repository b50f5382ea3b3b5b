#include "panel/Unit1.h"

#include "base/Convert.h"
#include "panel/FollowFiles.h"
#include "panel/ReadFileLine.h"
#include "platform/clock.h"
#include "radio/RadioPackets.h"

namespace {

using panel::kArxPanel;
using panel::kFrequencyPanel;
using panel::kModePanel;
using panel::kNotConnected;
using panel::kRetunePanel;
using panel::kTimePanel;

bool FetchWanted() { return !ReadFileLine(kHostFile, 0).empty(); }

}  // namespace

void TForm1::Timer1Timer(TComponent*) {
  // The fetch pumps messages, so a tick can come due inside it; the HTTP
  // client serves one fetch at a time, and such a tick is skipped whole.
  if (followTickRunning_) return;
  followTickRunning_ = true;
  try {
    PollAndShow();
  } catch (...) {
  }
  try {
    Retune();
  } catch (...) {
  }
  followTickRunning_ = false;
}

// Fetches the remote state (when host.ini names a server) and shows it in
// panels 0 to 3. Panels 1 to 3 then hold the remote state for Retune.
void TForm1::PollAndShow() {
  try {
    if (FetchWanted()) FetchFollowFile();
    view_.SetPanelText(kFrequencyPanel, ReadFileLine(kFollowFile, 0));
    view_.SetPanelText(kFrequencyPanel, view_.PanelText(kFrequencyPanel) + "," + ReadFileLine(kFollowFile, 1));
    view_.SetPanelText(kModePanel, ReadFileLine(kFollowFile, 2));
    view_.SetPanelText(kArxPanel, ReadFileLine(kFollowFile, 3) == "1" ? "ARX" : "");
    view_.SetPanelText(kTimePanel, platform::LocalTimeText());
  } catch (...) {
    if (FetchWanted()) view_.SetPanelText(kTimePanel, kNotConnected);
  }
}

// Copies what differs from the remote state into the panel and retunes the
// radio, with at most one frequency packet.
void TForm1::Retune() {
  bool retune = false;
  if (view_.Edit1Text() + "," + view_.Edit2Text() != view_.PanelText(kFrequencyPanel)) {
    view_.SetEdit1Text(ReadFileLine(kFollowFile, 0));
    view_.SetEdit2Text(ReadFileLine(kFollowFile, 1));
    retune = true;
    SetTrackBarPosition(StrToInt(view_.Edit2Text()));
    view_.SetPanelText(kRetunePanel, platform::LocalTimeText());
  }

  const std::string mode = view_.PanelText(kModePanel);
  if (mode == "AM" && ModeIsSsb != 0) {
    ModeIsSsb = 0;
    retune = true;
  } else if (mode == "SSB" && ModeIsSsb == 0) {
    ModeIsSsb = 1;
    retune = true;
  }

  const std::string arx = view_.PanelText(kArxPanel);
  if (arx.empty() && ArxOn != 0) {
    ArxOn = 0;
    SendArx();
  } else if (arx == "ARX" && ArxOn == 0) {
    ArxOn = 1;
    SendArx();
  }

  if (retune) SendFrequency(view_.Edit1Text());
}
