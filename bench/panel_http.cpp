#include "bench/panel_http.h"

namespace bench {

void SetUpAsPanel(TNMHTTP& http, const std::string& bodyFile) {
  http.Port = 0;
  http.ReportLevel = 0;
  http.Body = bodyFile;
  http.Header = "Head.txt";
  http.InputFileMode = true;
  http.OutputFileMode = false;
}

}  // namespace bench
