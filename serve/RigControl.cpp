#include "serve/RigControl.h"

#include <algorithm>

#include "platform/diagnostics.h"
#include "serve/Hertz.h"
#include "serve/RigArguments.h"
#include "serve/RigCapabilities.h"
#include "serve/RigRequest.h"

namespace {

std::string Report(int code) { return "RPRT " + std::to_string(code) + "\n"; }

// A passband in hertz: decimal, "-1" meaning no change and "0" the default.
bool IsWholeNumber(std::string_view text) {
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return !text.empty() && text.size() <= 9 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The arguments after the VFO: the words, or for a command that takes the
// rest of the line, that rest (empty when it is blanks alone).
std::vector<std::string_view> ArgumentsOf(const RigCommand& command, const RigRequest& request, std::size_t vfoWords) {
  if (!(command.flags & kWholeLine)) return {request.words.begin() + vfoWords, request.words.end()};
  std::string_view rest = request.rest;
  if ((command.flags & kTrimsOneBlank) && !rest.empty()) rest.remove_prefix(1);
  if (RigWords(rest).empty()) return {};
  return {rest};
}

// "set_freq: currVFO 7050000": the long name, the VFO in VFO mode, the
// arguments, as the client sent them.
std::string Echo(const RigCommand& command, const RigClient& client, std::string_view vfo,
                 const std::vector<std::string_view>& arguments) {
  std::string echo = std::string(command.name) + ":";
  if (client.vfoMode) echo += " " + std::string(EchoedVfo(vfo));
  for (std::string_view argument : arguments) echo += " " + std::string(argument);
  return echo;
}

bool CountFits(const RigCommand& command, const std::vector<std::string_view>& arguments) {
  // "?" asks for a list and stands alone.
  if ((command.flags & kListsOnQuery) && arguments.size() == 1 && arguments.front() == "?") return true;
  return arguments.size() >= command.fewest && arguments.size() <= command.most;
}

}  // namespace

RigAnswer RigControl::Answer(std::string_view line, RigClient& client) {
  const std::optional<RigRequest> request = ParseRigRequest(line);
  if (!request) return {};
  const RigCommand* command = FindRigCommand(request->command);
  if (command == nullptr) return {Report(kRigNotImplemented)};
  const bool vfoFirst = client.vfoMode && (command->flags & kTakesVfo);
  std::string_view vfo = "currVFO";
  if (vfoFirst && !request->words.empty()) vfo = request->words.front();
  RigCall call{*this, client, vfo, ArgumentsOf(*command, *request, vfoFirst && !request->words.empty() ? 1 : 0)};

  // Quitting is answered in the plain form whatever the prefix.
  if (command->flags & kQuits) {
    if (!request->words.empty()) return {Report(kRigInvalidArgument)};
    return {PlainAnswer(command->run(call), true), true};
  }
  RigReply reply;
  if ((vfoFirst && request->words.empty()) || !CountFits(*command, call.arguments) ||
      (vfoFirst && ClassifyVfo(vfo) == RigVfoName::kUnknown)) {
    reply = RigReply::Failure(kRigInvalidArgument);
  } else {
    reply = command->run(call);
  }

  if (!request->extended) return {PlainAnswer(reply, !(command->flags & kAnswersValues))};
  if ((command->flags & kLabelledOnly) && reply.code == kRigOk) return {LabelledLines(reply)};
  return {ExtendedAnswer(reply, Echo(*command, client, vfo, call.arguments), request->separator)};
}

std::string RigControl::OverlongAnswer() { return Report(kRigProtocolError); }

std::optional<std::int64_t> RigControl::Hertz() const { return HertzShown(panel_.Read()); }

int RigControl::Tune(std::string_view hertz) {
  const auto frequency = PanelFrequencyFromHertz(hertz);
  if (!frequency) return kRigInvalidArgument;
  return panel_.Tune(frequency->kilohertz, frequency->tenths) ? kRigOk : kRigHandlerFailed;
}

std::string RigControl::ModeName() const { return panel_.Read().ssb ? sideband_ : "AM"; }

int RigControl::Passband() const { return panel_.Read().ssb ? kSsbPassbandHz : kAmPassbandHz; }

bool RigControl::ValidMode(std::string_view mode, std::string_view passband) {
  return IsWholeNumber(passband) && (mode == "AM" || mode == "SSB" || mode == "USB" || mode == "LSB");
}

int RigControl::SetMode(std::string_view mode, std::string_view passband) {
  if (!ValidMode(mode, passband)) return kRigInvalidArgument;
  if (modeLocked_) return kRigOk;
  if (!panel_.SetMode(mode != "AM")) return kRigHandlerFailed;
  if (mode == "USB" || mode == "LSB") sideband_ = std::string(mode);
  return kRigOk;
}

void RigControl::LockMode(bool locked) {
  if (locked == modeLocked_) return;
  modeLocked_ = locked;
  platform::WriteDiagnostic(std::string("ravolin: rig control: the mode is ") +
                            (locked ? "locked (clients' mode sets are taken and ignored)" : "unlocked"));
}
