#include "panel/fltk/FormBindings.h"

void ConnectForm(MainWindow& window, FltkPanelView& view, TForm1& form) {
  window.OnButtonClick = [&form](int number) { RunButtonClick(form, number); };
  window.TrackBar1()->OnScroll = [&form](int position) { RunTrackBarScroll(form, position); };
  view.Timer1().OnTick = [&form] { RunTimer1(form); };
}
