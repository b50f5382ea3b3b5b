#include "tests/net/SessionProbe.h"

#include "net/SessionWindow.h"

namespace {
constexpr std::uint32_t kRunStep = platform::kWmUser + 7;
}

PostedStep::PostedStep() { window_ = platform::AllocateHiddenWindow("PostedStepClass", Procedure, this); }

PostedStep::~PostedStep() { platform::DestroyHiddenWindow(window_); }

void PostedStep::Post(std::function<void()> step) {
  pending_.push_back(std::move(step));
  platform::PostWindowMessage(window_, kRunStep, 0, 0);
}

std::intptr_t PostedStep::Procedure(platform::WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                                    std::intptr_t lParam) {
  auto* self = static_cast<PostedStep*>(platform::GetWindowOwner(window));
  if (self == nullptr || message != kRunStep || self->pending_.empty())
    return platform::DefaultWindowProc(window, message, wParam, lParam);
  auto step = std::move(self->pending_.front());
  self->pending_.erase(self->pending_.begin());
  ++self->runs_;
  step();
  return 0;
}
