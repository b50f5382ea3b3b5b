#pragma once
// Tells the operator when the follow mode stops getting the station's file
// and when it gets it again: one line for each change, never one per tick,
// in the operator's diagnostics (platform/diagnostics.h). The window shows only "Not connect".

#include <functional>
#include <string>

class FollowReport {
public:
  using Sink = std::function<void(const std::string& line)>;

  // Lines go to sink, without their line end; by default to the diagnostics.
  explicit FollowReport(Sink sink = {});

  void Failed(const std::string& url, const std::string& reason);
  void Worked(const std::string& url);

private:
  Sink sink_;
  bool failing_ = false;
};
