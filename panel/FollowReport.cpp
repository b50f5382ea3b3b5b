#include "panel/FollowReport.h"

#include "platform/diagnostics.h"

FollowReport::FollowReport(Sink sink) : sink_(sink ? std::move(sink) : Sink(platform::WriteDiagnostic)) {}

void FollowReport::Failed(const std::string& url, const std::string& reason) {
  if (failing_) return;
  failing_ = true;
  sink_("ravolin: following " + url + " failed: " + reason);
}

void FollowReport::Worked(const std::string& url) {
  if (!failing_) return;
  failing_ = false;
  sink_("ravolin: following " + url + " works again");
}
