#include "panel/Unit1.h"

#include "base/Exception.h"
#include "panel/FollowFiles.h"

#ifdef RAVOLIN_PANEL_HTTP
#include "http/NMHttp.h"
#endif

TForm1::TForm1(PanelView& view, std::string programPath)
    : TComponent(nullptr), view_(view), programPath_(std::move(programPath)) {
#ifdef RAVOLIN_PANEL_HTTP
  NMHTTP1 = new TNMHTTP(this);
  NMHTTP1->Port = 0;
  NMHTTP1->ReportLevel = 0;
  // No time-out per operation: the follow fetch bounds the whole Get.
  NMHTTP1->TimeOut = 0;
  NMHTTP1->Header = "Head.txt";
  NMHTTP1->InputFileMode = true;
  NMHTTP1->OutputFileMode = false;
  followFetch_ = new FollowFetch(this, *NMHTTP1, kFollowFile);  // sets Body
#endif
}

TForm1::~TForm1() { BeginDestroy(); }

void TForm1::FetchFollowFile() {
  try {
#ifdef RAVOLIN_PANEL_HTTP
    followFetch_->Run(HostUrl, FetchBounds);
#else
    throw Exception("This build has no HTTP client");
#endif
    followReport_.Worked(HostUrl);
  } catch (const std::exception& error) {
    followReport_.Failed(HostUrl, error.what());
    throw;
  }
}
