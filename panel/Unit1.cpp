#include "panel/Unit1.h"

#include <algorithm>

#include "base/Convert.h"
#include "base/Exception.h"
#include "http/NMHttp.h"
#include "panel/ErrorReport.h"
#include "panel/PanelConstants.h"
#include "panel/ReadFileLine.h"
#include "radio/RadioLink.h"
#include "radio/RadioPackets.h"

namespace {

using panel::kStreamPanel;
using panel::kStreamText;

// Key positions of one entry: five for the kilohertz digits; the next key
// sets the tenths digit and ends the entry.
constexpr std::int32_t kLastFrequencyKey = 5;

int ClampTrackBar(int position) { return std::clamp(position, panel::kTrackMin, panel::kTrackMax); }

}  // namespace

TForm1::TForm1(PanelView& view, std::string programPath)
    : TComponent(nullptr), view_(view), programPath_(std::move(programPath)), radioWatch_(view) {
  NMHTTP1 = new TNMHTTP(this);
  NMHTTP1->Port = 0;
  NMHTTP1->ReportLevel = 0;
  // No time-out per operation: the follow fetch bounds the whole Get.
  NMHTTP1->TimeOut = 0;
  NMHTTP1->Header = "Head.txt";
  NMHTTP1->InputFileMode = true;
  NMHTTP1->OutputFileMode = false;
  followFetch_ = new FollowFetch(this, *NMHTTP1, panel::kFollowFile);  // sets Body
}

TForm1::~TForm1() { BeginDestroy(); }

void TForm1::FormCreate(TComponent*) {
  OpenRadioLink();
  radioWatch_.Start();
  FollowStartUp();
}

void TForm1::FollowStartUp() { HostUrl = ReadFileLine(panel::kHostFile, 0); }

// Digits 1 to 9: the first digit of an entry replaces the frequency, the
// next four extend it, and the sixth key sets the tenths digit.
void TForm1::DigitKey(char digit) {
  const std::string text(1, digit);
  if (EntryCount == 0) {
    EntryCount = 1;
    view_.SetEdit1Text(text);
    return;
  }
  ++EntryCount;
  if (EntryCount > kLastFrequencyKey) {
    view_.SetEdit2Text(text);
    SetTrackBarPosition(digit - '0');
    EntryCount = 0;
  } else {
    view_.SetEdit1Text(view_.Edit1Text() + text);
  }
}

void TForm1::Button4Click(TComponent*) { DigitKey('1'); }
void TForm1::Button5Click(TComponent*) { DigitKey('2'); }
void TForm1::Button6Click(TComponent*) { DigitKey('3'); }
void TForm1::Button7Click(TComponent*) { DigitKey('4'); }
void TForm1::Button8Click(TComponent*) { DigitKey('5'); }
void TForm1::Button9Click(TComponent*) { DigitKey('6'); }
void TForm1::Button10Click(TComponent*) { DigitKey('7'); }
void TForm1::Button11Click(TComponent*) { DigitKey('8'); }
void TForm1::Button12Click(TComponent*) { DigitKey('9'); }

// "," : the next digit, "0" included, sets the tenths digit.
void TForm1::Button13Click(TComponent*) { EntryCount = kLastFrequencyKey; }

// "0" cannot begin a frequency, so it does nothing outside an entry.
void TForm1::Button14Click(TComponent*) {
  if (EntryCount == 0) return;
  ++EntryCount;
  if (EntryCount <= kLastFrequencyKey) {
    view_.SetEdit1Text(view_.Edit1Text() + "0");
  } else {
    view_.SetEdit2Text("0");
    SetTrackBarPosition(0);
    EntryCount = 0;
  }
}

void TForm1::Button15Click(TComponent*) { SendFrequency(view_.Edit1Text()); }

void TForm1::Button16Click(TComponent*) {
  ModeIsSsb = 0;
  SendFrequency(view_.Edit1Text());
}

void TForm1::Button17Click(TComponent*) {
  ModeIsSsb = 1;
  SendFrequency(view_.Edit1Text());
}

void TForm1::Button18Click(TComponent*) {
  ArxOn = ArxOn == 0 ? 1 : 0;
  SendArx();
}

// Panel 4 is the only record of the follow mode; the timer follows it.
void TForm1::Button19Click(TComponent*) {
  if (view_.PanelText(kStreamPanel) == kStreamText) {
    view_.SetPanelText(kStreamPanel, "");
    view_.SetTimer1Enabled(false);
  } else {
    view_.SetPanelText(kStreamPanel, kStreamText);
    view_.SetTimer1Enabled(true);
  }
}

// "+" and "-" let a conversion error escape to the error box. The sum is
// taken in 64 bits, so the ends of the 32-bit range give a text that the
// frequency sender then refuses instead of a wrapped value.
void TForm1::StepFrequency(int delta) {
  const std::int64_t value = StrToInt(view_.Edit1Text());
  view_.SetEdit1Text(IntToStr(value + delta));
  SendFrequency(view_.Edit1Text());
}

void TForm1::Button20Click(TComponent*) { StepFrequency(+1); }
void TForm1::Button21Click(TComponent*) { StepFrequency(-1); }

void TForm1::TrackBar1Change(TComponent*) {
  const int position = view_.TrackBarPosition();
  view_.SetEdit2Text(IntToStr(position));
  SendTenths(position);
}

void TForm1::SetTrackBarPosition(int position) {
  const int clamped = ClampTrackBar(position);
  if (clamped == view_.TrackBarPosition()) return;
  view_.MoveTrackBar(clamped);
  TrackBar1Change(this);
}

void TForm1::TrackBarScrolled(int position) {
  view_.MoveTrackBar(ClampTrackBar(position));
  TrackBar1Change(this);
}

void TForm1::ReportError(const std::exception& error) {
  view_.ShowErrorBox(ApplicationTitle(programPath_), ErrorBoxText(error.what()));
}
