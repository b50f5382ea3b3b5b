#pragma once
// Gives the radio the panel's state again after it was unplugged. When an
// exchange finds the radio not connected, the watch tells the operator and
// probes once a second with one packet of the panel's state, the tenths: a
// probe that fails costs that one exchange and no more, since a library may
// take its whole time-out to fail. When the radio answers, the rest follows
// (ARX, then frequency and mode, the order of a follow retune) and the
// operator is told it is back. One line each way, in the diagnostics; none per probe.

#include <functional>
#include <string>

#include "panel/PanelView.h"
#include "platform/window_timer.h"

class RadioWatch {
public:
  using Sink = std::function<void(const std::string& line)>;

  // Lines go to sink, without their line end; by default to the diagnostics. The view
  // must outlive the watch.
  explicit RadioWatch(PanelView& view, Sink sink = {});
  ~RadioWatch();
  RadioWatch(const RadioWatch&) = delete;
  RadioWatch& operator=(const RadioWatch&) = delete;

  // Watches the exchanges from now on, with the radio counted as present.
  void Start();

private:
  void Gone();
  void Probe();

  PanelView& view_;
  Sink sink_;
  platform::WindowTimer probe_;
  bool started_ = false;
};
