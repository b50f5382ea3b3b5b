#include "SimConfig.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sim {

namespace {

const char* Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : nullptr;
}

std::optional<std::uint64_t> ParseCount(const char* text) {
  if (text == nullptr || *text < '0' || *text > '9') return std::nullopt;
  char* end = nullptr;
  errno = 0;
  const unsigned long long value = std::strtoull(text, &end, 10);
  if (errno != 0 || *end != '\0') return std::nullopt;
  return value;
}

void Ignore(SimConfig& config, const char* name, const char* value) {
  config.ignored.push_back(std::string(name) + "=" + value);
}

}  // namespace

SimConfig LoadSimConfig() {
  SimConfig config;
  if (const char* log = Env("RAVOLIN_SIM_LOG")) config.logDestination = log;

  if (const char* absent = Env("RAVOLIN_SIM_ABSENT")) {
    if (std::strcmp(absent, "1") == 0 || std::strcmp(absent, "yes") == 0 || std::strcmp(absent, "both") == 0)
      config.absent = AbsentPipes::Both;
    else if (std::strcmp(absent, "in") == 0)
      config.absent = AbsentPipes::ReadPipe;
    else if (std::strcmp(absent, "out") == 0)
      config.absent = AbsentPipes::WritePipe;
    else if (std::strcmp(absent, "0") != 0 && std::strcmp(absent, "no") != 0)
      Ignore(config, "RAVOLIN_SIM_ABSENT", absent);
  }

  if (const char* vanish = Env("RAVOLIN_SIM_VANISH_AFTER")) {
    config.vanishAfter = ParseCount(vanish);
    if (!config.vanishAfter) Ignore(config, "RAVOLIN_SIM_VANISH_AFTER", vanish);
  }

  if (const char* timeOut = Env("RAVOLIN_SIM_TIMEOUT_AT")) {
    config.timeOutPacket = ParseCount(timeOut);
    if (!config.timeOutPacket || *config.timeOutPacket == 0) {
      config.timeOutPacket.reset();
      Ignore(config, "RAVOLIN_SIM_TIMEOUT_AT", timeOut);
    }
  }

  if (const char* failOn = Env("RAVOLIN_SIM_FAIL_ON")) {
    if (std::strcmp(failOn, "write") == 0)
      config.failingCall = FailingCall::Write;
    else if (std::strcmp(failOn, "read") == 0)
      config.failingCall = FailingCall::Read;
    else
      Ignore(config, "RAVOLIN_SIM_FAIL_ON", failOn);
  }

  if (const char* unplug = Env("RAVOLIN_SIM_UNPLUG_FILE")) config.unplugFile = unplug;

  if (const char* reply = Env("RAVOLIN_SIM_REPLY")) {
    if (std::strcmp(reply, "short") == 0)
      config.reply = ReplyStyle::Short;
    else if (std::strcmp(reply, "long") == 0)
      config.reply = ReplyStyle::Long;
    else if (std::strcmp(reply, "empty") == 0)
      config.reply = ReplyStyle::Empty;
    else if (std::strcmp(reply, "normal") != 0)
      Ignore(config, "RAVOLIN_SIM_REPLY", reply);
  }
  return config;
}

std::string DescribeSimConfig(const SimConfig& config) {
  std::string text = "SIM radio attached";
  switch (config.absent) {
    case AbsentPipes::None: break;
    case AbsentPipes::Both: text += ", absent"; break;
    case AbsentPipes::ReadPipe: text += ", read pipe absent"; break;
    case AbsentPipes::WritePipe: text += ", write pipe absent"; break;
  }
  const char* call = config.failingCall == FailingCall::Write ? "write" : "read";
  if (config.vanishAfter) text += ", vanishes after " + std::to_string(*config.vanishAfter) + " packets on the " + call;
  if (config.timeOutPacket) text += ", packet " + std::to_string(*config.timeOutPacket) + " times out on the " + call;
  switch (config.reply) {
    case ReplyStyle::Normal: break;
    case ReplyStyle::Short: text += ", replies short"; break;
    case ReplyStyle::Long: text += ", replies longer than asked"; break;
    case ReplyStyle::Empty: text += ", replies empty"; break;
  }
  if (!config.unplugFile.empty()) text += ", unplugged while " + config.unplugFile + " exists";
  for (const std::string& setting : config.ignored) text += ", ignored " + setting;
  return text;
}

}  // namespace sim
