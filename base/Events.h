#pragma once
// Events are optional callbacks bound to a receiver: an empty std::function
// is an unset event and is skipped. Bind a member with a lambda capturing the
// receiver, e.g. form.OnClick = [this](TComponent* s) { Clicked(s); }.

#include <functional>
#include <utility>

class TComponent;

using TNotifyEvent = std::function<void(TComponent* Sender)>;
using THandlerEvent = std::function<void(bool& Handled)>;

// Calls the event when it is set.
template <class Event, class... Args>
void Fire(const Event& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}
