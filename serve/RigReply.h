#pragma once
// What a rig-control command answers, before it is written in the form the
// client asked for: a result code and the records it reports.
//
// Plain form: each record's value on a line of its own; then "RPRT 0" when
// the command is one that reports its success in words (a set, or a get that
// is more of a report), "RPRT n" alone on a failure. Extended form: the
// echo of the command, "Label: value" per record (unlabelled records as they
// are), and "RPRT n", each ended by the separator but the last, which ends
// by LF. With a separator other than LF a record that is a block of lines
// gives one record per line, and empty records are left out, so that the
// whole answer is one line.

#include <string>
#include <string_view>
#include <vector>

constexpr int kRigOk = 0;
constexpr int kRigInvalidArgument = -1;  // bad argument, or a level, function or VFO unknown
constexpr int kRigNotImplemented = -4;   // unknown command, and the clock
constexpr int kRigHandlerFailed = -7;    // a panel handler raised
constexpr int kRigProtocolError = -8;    // a line over the length cap
constexpr int kRigNotAvailable = -11;    // what the radio does not have
constexpr int kRigDeprecated = -18;      // the transceive commands

struct RigRecord {
  std::string label;  // empty for a record reported without one
  std::string value;
};

struct RigReply {
  int code = kRigOk;
  std::vector<RigRecord> records;

  static RigReply Failure(int code) { return RigReply{code, {}}; }
  static RigReply Ok() { return RigReply{}; }
  // A set's result: nothing to report either way.
  static RigReply Result(int code) { return RigReply{code, {}}; }
  RigReply& Add(std::string label, std::string value);
  RigReply& Line(std::string value);  // a record without a label
  // A block of lines, one unlabelled record each; a trailing LF gives none.
  RigReply& Block(std::string_view text);
};

// reportsSuccess: the plain form ends a success with "RPRT 0".
std::string PlainAnswer(const RigReply& reply, bool reportsSuccess);
// echo: "get_freq:" and what follows it, without the separator.
std::string ExtendedAnswer(const RigReply& reply, std::string_view echo, char separator);
// The records alone as "Label: value" lines, without echo or result.
std::string LabelledLines(const RigReply& reply);
