#pragma once
// A window for the panel logic without a display: it stores what the logic
// sets, starts with the window's initial texts and records every error box.

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "panel/PanelView.h"

class FakePanelView : public PanelView {
public:
  std::string Edit1Text() const override { return edit1; }
  void SetEdit1Text(const std::string& text) override { edit1 = text; }
  std::string Edit2Text() const override { return edit2; }
  void SetEdit2Text(const std::string& text) override { edit2 = text; }

  std::string PanelText(int index) const override { return panels.at(static_cast<std::size_t>(index)); }
  void SetPanelText(int index, const std::string& text) override {
    std::string& panel = panels.at(static_cast<std::size_t>(index));
    if (panel == text) return;
    panel = text;
    ++panelChanges;
    if (onPanelSet) onPanelSet(index);
  }

  int TrackBarPosition() const override { return trackBar; }
  void MoveTrackBar(int position) override { trackBar = position; }

  bool Timer1Enabled() const override { return timer1; }
  void SetTimer1Enabled(bool enabled) override { timer1 = enabled; }

  void ShowErrorBox(const std::string& title, const std::string& text) override {
    errorBoxes.emplace_back(title, text);
  }

  std::string edit1 = "7050";
  std::string edit2 = "0";
  std::array<std::string, 6> panels = {"", "", "SSB", "", "Stream", ""};
  int panelChanges = 0;
  int trackBar = 0;
  bool timer1 = true;
  std::vector<std::pair<std::string, std::string>> errorBoxes;
  // Runs after a panel's text changed: lets a test act in the middle of a
  // handler, the way a nested message pump does.
  std::function<void(int index)> onPanelSet;
};
