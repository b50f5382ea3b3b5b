#include "panel/RadioWatch.h"

#include <utility>

#include "platform/diagnostics.h"

#include "radio/RadioLink.h"
#include "radio/RadioPackets.h"
#include "radio/RadioPresence.h"

namespace {

constexpr std::uint32_t kProbeIntervalMs = 1000;
constexpr const char* kProbeWindowClass = "RavolinRadioProbe";

// After an invalid handle the link has closed its pipes for good.
bool LinkClosed() { return OutPipe == kPipeNotOpen || InPipe == kPipeNotOpen; }

}  // namespace

RadioWatch::RadioWatch(PanelView& view, Sink sink)
    : view_(view), sink_(sink ? std::move(sink) : Sink(platform::WriteDiagnostic)), probe_(kProbeWindowClass) {
  probe_.OnTick = [this] { Probe(); };
}

RadioWatch::~RadioWatch() {
  if (started_) SetRadioGoneHandler({});
}

void RadioWatch::Start() {
  started_ = true;
  MarkRadioBack();
  SetRadioGoneHandler([this] { Gone(); });
}

void RadioWatch::Gone() {
  sink_("ravolin: radio: gone (device not connected); packets are dropped until it is back");
  probe_.Start(kProbeIntervalMs);
}

void RadioWatch::Probe() {
  if (!RadioAway() || LinkClosed()) {
    probe_.Stop();
    return;
  }
  RadioProbe probe;
  SendTenths(view_.TrackBarPosition());
  if (probe.Answered() == 0) return;
  SendArx();
  SendFrequency(view_.Edit1Text());
  // Gone again meanwhile: the next probe starts over.
  if (probe.NotConnected() != 0) return;
  probe_.Stop();
  MarkRadioBack();
  sink_("ravolin: radio: back; the panel's state was sent again");
}
