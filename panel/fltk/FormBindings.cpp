#include "panel/fltk/FormBindings.h"

#include "base/Application.h"
#include "base/Exception.h"

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

// Button4 to Button21, by number.
constexpr ClickHandler kClickHandlers[] = {
    &TForm1::Button4Click,  &TForm1::Button5Click,  &TForm1::Button6Click,  &TForm1::Button7Click,
    &TForm1::Button8Click,  &TForm1::Button9Click,  &TForm1::Button10Click, &TForm1::Button11Click,
    &TForm1::Button12Click, &TForm1::Button13Click, &TForm1::Button14Click, &TForm1::Button15Click,
    &TForm1::Button16Click, &TForm1::Button17Click, &TForm1::Button18Click, &TForm1::Button19Click,
    &TForm1::Button20Click, &TForm1::Button21Click,
};
static_assert(std::size(kClickHandlers) == MainWindow::kLastButton - MainWindow::kFirstButton + 1);

// The last line of defence for anything that is not an exception object of
// the program's own family.
void RunGuarded(const std::function<void()>& handler) {
  HandlerScope scope;
  try {
    handler();
  } catch (const std::exception& error) {
    HandleApplicationException(error);
  } catch (...) {
    HandleApplicationException(Exception("Unknown error"));
  }
}

}  // namespace

bool HandlerRunning() { return handlerDepth > 0; }

void ConnectForm(MainWindow& window, FltkPanelView& view, TForm1& form) {
  window.OnButtonClick = [&form](int number) {
    const ClickHandler handler = kClickHandlers[number - MainWindow::kFirstButton];
    RunGuarded([&] { form.RunHandler([&] { (form.*handler)(nullptr); }); });
  };
  window.TrackBar1()->OnScroll = [&form](int position) {
    RunGuarded([&] { form.RunHandler([&] { form.TrackBarScrolled(position); }); });
  };
  view.Timer1().OnTimer = [&form] { RunGuarded([&] { form.Timer1Timer(nullptr); }); };
}
