#pragma once
// The state feed's answers: the panel's state in the four lines a following
// panel reads as freq.ini, or an error. Every answer is HTTP/1.0 with
// Content-Type text/plain, Content-Length and Connection: close; 405 also
// names the allowed methods. The state changes from one second to the next,
// so no answer may be kept by a cache.

#include <string>

#include "serve/PanelControl.h"
#include "serve/RequestHead.h"

// Edit1's text, Edit2's text, "AM" or "SSB", "1" or "0" for ARX; each line
// ended by LF.
std::string FreqIniText(const PanelSnapshot& panel);

// The whole answer (status line, header and, but for HEAD, body) to a head
// that is Complete, or a 400 to one that is Bad. panel is read only for a
// 200.
std::string AnswerFeedRequest(const RequestHead& head, const PanelSnapshot& panel);
