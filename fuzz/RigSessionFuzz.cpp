// The rig-control protocol on arbitrary client bytes, cut into pieces of a
// size the first byte picks, against a panel that checks what it is asked
// to key. The answers and the panel's end state must not depend on the
// pieces; the panel is only ever asked for what its keypad can enter; every
// answer ends its line; a line in progress never holds more than the cap;
// after "q" nothing more is answered; an answer in the one-line form (a
// punctuation prefix other than "+") is one line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/PieceInput.h"
#include "serve/CommandLines.h"
#include "serve/RigRequest.h"
#include "serve/RigSession.h"

namespace {

using fuzz::Check;

class CheckingPanel : public PanelControl {
public:
  PanelSnapshot Read() const override { return state_; }
  bool Tune(std::int32_t kilohertz, int tenths) override {
    Check(kilohertz >= 1 && kilohertz <= 99999 && tenths >= 0 && tenths <= 9);
    if (kilohertz == 13) return false;  // a handler that raised
    state_.edit1 = std::to_string(kilohertz);
    state_.edit2 = std::to_string(tenths);
    state_.trackBar = tenths;
    return true;
  }
  bool SetMode(bool ssb) override {
    state_.ssb = ssb;
    return true;
  }

private:
  PanelSnapshot state_{"7050", "0", 0, true, false};
};

struct Run {
  CheckingPanel panel;
  RigControl rig{panel};
  RigSession session{rig};
  std::string out;

  void Receive(std::string_view bytes) {
    const bool closedBefore = session.Closing();
    const std::string answer = session.Receive(bytes);
    Check(answer.empty() || answer.back() == '\n');
    Check(!closedBefore || answer.empty());
    Check(session.Pending() <= CommandLines::kMaxLineBytes);
    out += answer;
  }
};

// Each line on its own, as the session would take it: an answer in the
// one-line form holds one LF, at its end.
void CheckOneLineForms(std::string_view bytes) {
  CheckingPanel panel;
  RigControl rig{panel};
  RigClient client;
  for (std::size_t end; (end = bytes.find('\n')) != std::string_view::npos; bytes.remove_prefix(end + 1)) {
    std::string_view line = bytes.substr(0, end);
    if (line.size() > CommandLines::kMaxLineBytes) continue;
    if (line.ends_with('\r')) line.remove_suffix(1);
    const RigAnswer answer = rig.Answer(line, client);
    const auto request = ParseRigRequest(line);
    if (request && request->extended && request->separator != '\n' && !answer.text.empty()) {
      Check(answer.text.find('\n') == answer.text.size() - 1);
    }
    if (answer.close) return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::PieceInput input;
  if (!fuzz::SplitInput(data, size, input)) return 0;

  Run whole;
  whole.Receive(input.bytes);
  Run pieces;
  fuzz::InPieces(input, [&](std::string_view piece) { pieces.Receive(piece); });

  Check(whole.out == pieces.out);
  Check(whole.session.Closing() == pieces.session.Closing());
  const PanelSnapshot a = whole.panel.Read(), b = pieces.panel.Read();
  Check(a.edit1 == b.edit1 && a.edit2 == b.edit2 && a.ssb == b.ssb);
  CheckOneLineForms(input.bytes);
  return 0;
}
