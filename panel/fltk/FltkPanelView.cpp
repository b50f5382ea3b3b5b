#include "panel/fltk/FltkPanelView.h"

#include "panel/fltk/ErrorBox.h"

FltkPanelView::FltkPanelView(MainWindow& window) : window_(window) {}

std::string FltkPanelView::Edit1Text() const { return window_.Edit1()->Text(); }
void FltkPanelView::SetEdit1Text(const std::string& text) { window_.Edit1()->SetText(text); }
std::string FltkPanelView::Edit2Text() const { return window_.Edit2()->Text(); }
void FltkPanelView::SetEdit2Text(const std::string& text) { window_.Edit2()->SetText(text); }

std::string FltkPanelView::PanelText(int index) const { return window_.StatusBar1()->PanelText(index); }
void FltkPanelView::SetPanelText(int index, const std::string& text) {
  window_.StatusBar1()->SetPanelText(index, text);
}

int FltkPanelView::TrackBarPosition() const { return window_.TrackBar1()->Position(); }
void FltkPanelView::MoveTrackBar(int position) { window_.TrackBar1()->SetPosition(position); }

bool FltkPanelView::Timer1Enabled() const { return timer1_.Enabled(); }
void FltkPanelView::SetTimer1Enabled(bool enabled) { timer1_.SetEnabled(enabled); }

void FltkPanelView::ShowErrorBox(const std::string& title, const std::string& text) { ::ShowErrorBox(title, text); }
