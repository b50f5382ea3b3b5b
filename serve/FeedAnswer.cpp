#include "serve/FeedAnswer.h"

#include "serve/FeedRequest.h"

namespace {

const char* ReasonPhrase(int status) {
  switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 505: return "HTTP Version Not Supported";
    default: return "Bad Request";
  }
}

std::string Answer(int status, bool headOnly, const std::string& body) {
  std::string answer = "HTTP/1.0 " + std::to_string(status) + " " + ReasonPhrase(status) + "\r\n";
  answer += "Content-Type: text/plain\r\n";
  answer += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  if (status == 405) answer += "Allow: GET, HEAD\r\n";
  answer += "Cache-Control: no-store\r\n";
  answer += "Connection: close\r\n\r\n";
  if (!headOnly) answer += body;
  return answer;
}

}  // namespace

std::string FreqIniText(const PanelSnapshot& panel) {
  return panel.edit1 + "\n" + panel.edit2 + "\n" + (panel.ssb ? "SSB" : "AM") + "\n" + (panel.arx ? "1" : "0") + "\n";
}

std::string AnswerFeedRequest(const RequestHead& head, const PanelSnapshot& panel) {
  FeedRequest request;  // 400 unless the head parses
  if (head.status() == RequestHead::Status::Complete) request = ParseFeedRequest(head.Text());
  if (request.status == 200) return Answer(200, request.headOnly, FreqIniText(panel));
  return Answer(request.status, request.headOnly, std::string(ReasonPhrase(request.status)) + "\n");
}
