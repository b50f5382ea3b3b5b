#include "panel/FormDispatch.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iterator>

#include "base/Exception.h"
#include "panel/FormLayout.h"

namespace {

int handlerDepth = 0;

class HandlerScope {
public:
  HandlerScope() { ++handlerDepth; }
  ~HandlerScope() { --handlerDepth; }
  HandlerScope(const HandlerScope&) = delete;
  HandlerScope& operator=(const HandlerScope&) = delete;
};

using ClickHandler = void (TForm1::*)(TComponent*);

constexpr ClickHandler kClickHandlers[] = {
    &TForm1::Button4Click,  &TForm1::Button5Click,  &TForm1::Button6Click,  &TForm1::Button7Click,
    &TForm1::Button8Click,  &TForm1::Button9Click,  &TForm1::Button10Click, &TForm1::Button11Click,
    &TForm1::Button12Click, &TForm1::Button13Click, &TForm1::Button14Click, &TForm1::Button15Click,
    &TForm1::Button16Click, &TForm1::Button17Click, &TForm1::Button18Click, &TForm1::Button19Click,
    &TForm1::Button20Click, &TForm1::Button21Click,
};
static_assert(std::size(kClickHandlers) == form_layout::kLastButton - form_layout::kFirstButton + 1);

}  // namespace

bool HandlerRunning() { return handlerDepth > 0; }

void EndProcessIfInHandler() {
  if (!HandlerRunning()) return;
  std::fflush(nullptr);
  std::_Exit(0);
}

// The one guard every handler runs in.
void TForm1::RunHandler(const std::function<void()>& handler) {
  HandlerScope scope;
  try {
    handler();
  } catch (const std::exception& error) {
    ReportError(error);
  } catch (...) {
    ReportError(Exception("Unknown error"));
  }
}

void RunButtonClick(TForm1& form, int number) {
  if (number < form_layout::kFirstButton || number > form_layout::kLastButton) return;
  const ClickHandler handler = kClickHandlers[number - form_layout::kFirstButton];
  form.RunHandler([&] { (form.*handler)(nullptr); });
}

void RunTrackBarScroll(TForm1& form, int position) {
  form.RunHandler([&] { form.TrackBarScrolled(position); });
}

void RunTimer1(TForm1& form) {
  form.RunHandler([&] { form.Timer1Timer(nullptr); });
}
