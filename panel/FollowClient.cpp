#include "panel/Unit1.h"

#include "base/Exception.h"

#ifdef RAVOLIN_PANEL_HTTP
#include "http/NMHttp.h"
#endif

namespace {
// A server that accepts the connection and never answers would otherwise
// hold the follow mode inside the fetch for good.
constexpr int kFollowTimeOutMs = 10000;
}  // namespace

TForm1::TForm1(PanelView& view, std::string programPath)
    : TComponent(nullptr), view_(view), programPath_(std::move(programPath)) {
#ifdef RAVOLIN_PANEL_HTTP
  NMHTTP1 = new TNMHTTP(this);
  NMHTTP1->Port = 0;
  NMHTTP1->ReportLevel = 0;
  NMHTTP1->TimeOut = kFollowTimeOutMs;
  NMHTTP1->Body = "freq.ini";
  NMHTTP1->Header = "Head.txt";
  NMHTTP1->InputFileMode = true;
  NMHTTP1->OutputFileMode = false;
#else
  (void)kFollowTimeOutMs;
#endif
}

TForm1::~TForm1() { BeginDestroy(); }

void TForm1::FetchFollowFile() {
#ifdef RAVOLIN_PANEL_HTTP
  NMHTTP1->Get(HostUrl);
#else
  throw Exception("This build has no HTTP client");
#endif
}
