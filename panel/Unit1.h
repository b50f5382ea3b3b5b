#pragma once
// The front panel: its state, the keypad's entry state machine, every button
// and track-bar handler, start-up, and the follow step.

#include <exception>
#include <functional>
#include <string>

#include "base/Component.h"
#include "panel/FollowFetch.h"
#include "panel/FollowReport.h"
#include "panel/PanelState.h"
#include "panel/PanelView.h"
#include "panel/RadioWatch.h"

class TNMHTTP;

class TForm1 : public TComponent {
public:
  // The view must outlive the form. programPath names the program file and
  // gives the application title of the error box.
  TForm1(PanelView& view, std::string programPath);
  ~TForm1() override;

  void FormCreate(TComponent* Sender);

  void Button4Click(TComponent* Sender);   // "1"
  void Button5Click(TComponent* Sender);   // "2"
  void Button6Click(TComponent* Sender);   // "3"
  void Button7Click(TComponent* Sender);   // "4"
  void Button8Click(TComponent* Sender);   // "5"
  void Button9Click(TComponent* Sender);   // "6"
  void Button10Click(TComponent* Sender);  // "7"
  void Button11Click(TComponent* Sender);  // "8"
  void Button12Click(TComponent* Sender);  // "9"
  void Button13Click(TComponent* Sender);  // ","
  void Button14Click(TComponent* Sender);  // "0"
  void Button15Click(TComponent* Sender);  // "SET"
  void Button16Click(TComponent* Sender);  // "AM"
  void Button17Click(TComponent* Sender);  // "SSB"
  void Button18Click(TComponent* Sender);  // "ARX"
  void Button19Click(TComponent* Sender);  // "STR"
  void Button20Click(TComponent* Sender);  // "+"
  void Button21Click(TComponent* Sender);  // "-"
  void TrackBar1Change(TComponent* Sender);
  void Timer1Timer(TComponent* Sender);

  // Sets the track bar: clamps to 0..9; when that differs from the current
  // position, stores it and runs TrackBar1Change before returning.
  void SetTrackBarPosition(int position);

  // A user scroll notification: stores the position and always runs
  // TrackBar1Change, also when the position did not change.
  void TrackBarScrolled(int position);

  // Runs a handler the way the window system does: an error that escapes it
  // is shown in the error box and the program goes on. The one guard of the
  // panel's handlers (FormDispatch.cpp).
  void RunHandler(const std::function<void()>& handler);
  void ReportError(const std::exception& error);

  TNMHTTP* NMHTTP1 = nullptr;
  // Bounds of each follow fetch (10 s, 64 KiB); tests shorten the deadline.
  FollowBounds FetchBounds;

private:
  void DigitKey(char digit);
  void StepFrequency(int delta);
  // The follow mode's start-up step: HostUrl from the first line of host.ini.
  void FollowStartUp();
  // The two stages of a follow tick, each catching every error of its own.
  void PollAndShow();
  void Retune();
  // Fetches HostUrl into freq.ini; raises with the reason when the fetch
  // fails, and tells stderr when following stops or starts working.
  void FetchFollowFile();

  PanelView& view_;
  std::string programPath_;
  // True while a follow tick runs; a tick that comes due inside it (from the
  // network wait's message pump) is skipped.
  bool followTickRunning_ = false;
  FollowFetch* followFetch_ = nullptr;  // owned as a component
  FollowReport followReport_;
  // Sends the panel's state again when the radio comes back after an unplug.
  RadioWatch radioWatch_;
};
