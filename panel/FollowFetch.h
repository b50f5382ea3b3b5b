#pragma once
// One fetch of the follow mode, bounded in time and size, and all or
// nothing for the follow file: the body goes to a part file beside it,
// which replaces the follow file in one rename only when the answer is
// complete (the server closed, no reset, no abort) and carries a 2xx status.
// Any other outcome raises, with the follow file as it was and the part file
// gone.
//
// The HTTP component keeps its own rules; the fetch bounds it from outside:
// a deadline timer calls its Abort once the whole Get (redirects included)
// has run too long, and its OnPacketRecvd event aborts a body that grows
// past the cap.

#include <cstdint>
#include <string>

#include "base/Component.h"

class TNMHTTP;
class TThreadTimer;

struct FollowBounds {
  std::uint32_t deadlineMs = 10000;    // from the start of Get to its end
  std::uint32_t maxBodyBytes = 65536;  // a station's file is four short lines
};

class FollowFetch : public TComponent {
public:
  // http must outlive every Run; its Body is set to the part file.
  FollowFetch(TComponent* owner, TNMHTTP& http, std::string followFile);

  // Fetches url into the follow file. Raises Exception with the reason the
  // operator is told: the error Get raised, "status 404", "no status line",
  // "answer longer than 65536 bytes", "no complete answer within 10 s", or
  // why the follow file could not be replaced.
  void Run(const std::string& url, const FollowBounds& bounds);

  const std::string& PartFile() const { return partFile_; }

private:
  enum class Cut { Uncut, TooLong, Late };

  // Ends the fetch in progress for a reason; the first reason counts.
  void CutShort(Cut reason);
  void Arm(const FollowBounds& bounds);
  void Disarm();
  // The reason Get raised its error for: a cut of ours, or the error itself.
  std::string ReasonFor(const std::string& raised) const;
  // Raises unless the answer is whole and good; then puts it in place.
  void Accept();

  TNMHTTP& http_;
  std::string followFile_;
  std::string partFile_;
  TThreadTimer* deadline_;
  FollowBounds bounds_;
  Cut cut_ = Cut::Uncut;
};
