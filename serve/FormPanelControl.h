#pragma once
// The servers' access to the real panel: reads the view and the panel state
// and sets them by running TForm1's click handlers.

#include "panel/PanelView.h"
#include "panel/Unit1.h"
#include "serve/PanelControl.h"

class FormPanelControl : public PanelControl {
public:
  // view is the one form shows; both must outlive this object.
  FormPanelControl(TForm1& form, const PanelView& view) : form_(form), view_(view) {}

  PanelSnapshot Read() const override;
  bool Tune(std::int32_t kilohertz, int tenths) override;
  bool SetMode(bool ssb) override;

private:
  void PressDigit(char digit);

  TForm1& form_;
  const PanelView& view_;
};
