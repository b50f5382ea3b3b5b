#include "panel/FollowFetch.h"

#include <exception>

#include "base/Exception.h"
#include "http/NMHttp.h"
#include "net/ThreadTimer.h"
#include "panel/FileInPlace.h"
#include "panel/FollowReason.h"

FollowFetch::FollowFetch(TComponent* owner, TNMHTTP& http, std::string followFile)
    : TComponent(owner),
      http_(http),
      followFile_(std::move(followFile)),
      partFile_(followFile_ + ".part"),
      deadline_(new TThreadTimer(this)) {
  http_.Body = partFile_;
  deadline_->SetEnabled(false);
  deadline_->SetOnTimer([this](TComponent*) { CutShort(Cut::Late); });
}

void FollowFetch::CutShort(Cut reason) {
  deadline_->SetEnabled(false);
  if (cut_ == Cut::Uncut) cut_ = reason;
  http_.Abort();
}

void FollowFetch::Arm(const FollowBounds& bounds) {
  bounds_ = bounds;
  cut_ = Cut::Uncut;
  http_.OnPacketRecvd = [this](TComponent*) {
    if (http_.GetBytesRecvd() > bounds_.maxBodyBytes) CutShort(Cut::TooLong);
  };
  // An abort that lands between two exchanges of a redirect chain would be
  // cleared by the next connect; the chain ends here instead.
  http_.OnAboutToSend = [this](TComponent*) {
    if (cut_ != Cut::Uncut) throw Exception("fetch cut short");
  };
  deadline_->SetInterval(bounds.deadlineMs);
  deadline_->SetEnabled(true);
}

void FollowFetch::Disarm() {
  deadline_->SetEnabled(false);
  http_.OnPacketRecvd = nullptr;
  http_.OnAboutToSend = nullptr;
}

std::string FollowFetch::ReasonFor(const std::string& raised) const {
  switch (cut_) {
    case Cut::TooLong: return follow::TooLongReason(bounds_.maxBodyBytes);
    case Cut::Late: return follow::DeadlineReason(bounds_.deadlineMs);
    case Cut::Uncut: break;
  }
  return raised;
}

void FollowFetch::Accept() {
  if (cut_ != Cut::Uncut) throw Exception(ReasonFor(""));
  const auto status = follow::StatusOfHeader(http_.Header);
  if (!status) throw Exception(follow::kNoStatusLine);
  if (!follow::IsGoodStatus(*status)) throw Exception(follow::StatusReason(*status));
  PutInPlace(partFile_, followFile_);
}

void FollowFetch::Run(const std::string& url, const FollowBounds& bounds) {
  try {
    Arm(bounds);
    try {
      http_.Get(url);
    } catch (const std::exception& error) {
      throw Exception(ReasonFor(error.what()));
    }
    Disarm();
    Accept();
  } catch (...) {
    Disarm();
    DiscardFile(partFile_);
    throw;
  }
}
