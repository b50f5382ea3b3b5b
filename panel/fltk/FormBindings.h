#pragma once
// Connects the window's input to the panel's handlers: the buttons, the
// track bar's scroll notifications and Timer1's ticks. Errors that escape a
// handler go to the application-wide handler, which shows the error box.

#include "panel/FormDispatch.h"
#include "panel/Unit1.h"
#include "panel/fltk/FltkPanelView.h"
#include "panel/fltk/MainWindow.h"

void ConnectForm(MainWindow& window, FltkPanelView& view, TForm1& form);
