#include "serve/RigReply.h"

namespace {

std::string Report(int code) { return "RPRT " + std::to_string(code) + "\n"; }

std::string Labelled(const RigRecord& record) {
  return record.label.empty() ? record.value : record.label + ": " + record.value;
}

}  // namespace

RigReply& RigReply::Add(std::string label, std::string value) {
  records.push_back({std::move(label), std::move(value)});
  return *this;
}

RigReply& RigReply::Line(std::string value) { return Add({}, std::move(value)); }

RigReply& RigReply::Block(std::string_view text) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    Line(std::string(text.substr(0, end)));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return *this;
}

std::string PlainAnswer(const RigReply& reply, bool reportsSuccess) {
  if (reply.code != kRigOk) return Report(reply.code);
  std::string text;
  for (const RigRecord& record : reply.records) text += record.value + "\n";
  return reportsSuccess ? text + Report(kRigOk) : text;
}

std::string ExtendedAnswer(const RigReply& reply, std::string_view echo, char separator) {
  std::string text = std::string(echo) + separator;
  if (reply.code == kRigOk) {
    for (const RigRecord& record : reply.records) {
      if (separator != '\n' && record.label.empty() && record.value.empty()) continue;
      text += Labelled(record) + separator;
    }
  }
  return text + Report(reply.code);
}

std::string LabelledLines(const RigReply& reply) {
  std::string text;
  for (const RigRecord& record : reply.records) text += Labelled(record) + "\n";
  return text;
}
