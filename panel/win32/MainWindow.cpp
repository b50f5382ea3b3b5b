#include "panel/win32/MainWindow.h"

#include <commctrl.h>

#include <stdexcept>

#include "panel/FormLayout.h"
#include "panel/KeyButtons.h"
#include "panel/win32/ProgramIcon.h"

namespace {

using namespace form_layout;

constexpr char kClassName[] = "RavolinPanel";
constexpr int kTrackBarId = 100;
constexpr int kStatusBarId = 101;
constexpr int kEdit1Id = 102;
constexpr int kEdit2Id = 103;
constexpr int kTrackThumbLength = 16;
constexpr int kEditMargin = 1;

// A dialog frame: caption and system menu, no sizing border.
constexpr DWORD kFrameStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kFrameExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// The program's own icon, at a size the system asks for; the generic one
// where the program carries none (a test program).
HICON ProgramIcon(int metricX, int metricY) {
  auto icon = static_cast<HICON>(LoadImageA(Instance(), MAKEINTRESOURCEA(RAVOLIN_PROGRAM_ICON), IMAGE_ICON,
                                            GetSystemMetrics(metricX), GetSystemMetrics(metricY), 0));
  return icon ? icon : LoadIcon(nullptr, IDI_APPLICATION);
}

HFONT MakeFont(int height, int weight, const char* face) {
  return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

std::wstring Wide(const char* utf8) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring text(length > 0 ? length : 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), length);
  text.resize(text.size() - 1);
  return text;
}

std::string TextOf(HWND control) {
  const int length = GetWindowTextLengthA(control);
  std::string text(length + 1, '\0');
  GetWindowTextA(control, text.data(), length + 1);
  text.resize(length);
  return text;
}

void RegisterClassOnce() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;  // replaced per window in WM_NCCREATE
    windowClass.hInstance = Instance();
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = ProgramIcon(SM_CXICON, SM_CYICON);
    windowClass.hIconSm = ProgramIcon(SM_CXSMICON, SM_CYSMICON);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0;
  }();
  if (!registered) throw std::runtime_error("cannot register the window class");
}

}  // namespace

MainWindow::MainWindow() {
  RegisterClassOnce();
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kFrameStyle, FALSE, kFrameExStyle);
  window_ = CreateWindowExA(kFrameExStyle, kClassName, kCaption, kFrameStyle, kLeft, kTop, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, Instance(), nullptr);
  if (!window_) throw std::runtime_error("cannot create the window");
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::Procedure));
  windowFont_ = MakeFont(-11, FW_NORMAL, "MS Sans Serif");
  digitsFont_ = MakeFont(-48, FW_BOLD, "Arial");
  stepFont_ = MakeFont(-19, FW_BOLD, "Arial Black");
  CreateControls();
}

MainWindow::~MainWindow() {
  if (IsWindow(window_)) {
    SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
  for (HFONT font : {windowFont_, digitsFont_, stepFont_})
    if (font) DeleteObject(font);
}

HWND MainWindow::Child(const char* className, const char* text, DWORD style, DWORD exStyle, int x, int y, int w, int h,
                       int id) {
  HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
  if (!child) throw std::runtime_error(std::string("cannot create a control of class ") + className);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_), FALSE);
  return child;
}

void MainWindow::CreateControls() {
  // Created in tab order: the track bar first.
  trackBar_ = Child(TRACKBAR_CLASSA, "", WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | TBS_FIXEDLENGTH, 0,
                    kTrackBar.x, kTrackBar.y, kTrackBar.w, kTrackBar.h, kTrackBarId);
  SendMessageA(trackBar_, TBM_SETRANGE, FALSE, MAKELPARAM(panel::kTrackMin, panel::kTrackMax));
  SendMessageA(trackBar_, TBM_SETTICFREQ, 1, 0);
  // A thumb short enough to leave the ticks room below it in 25 pixels.
  SendMessageA(trackBar_, TBM_SETTHUMBLENGTH, kTrackThumbLength, 0);
  SendMessageA(trackBar_, TBM_SETLINESIZE, 0, kTrackLineSize);
  SendMessageA(trackBar_, TBM_SETPAGESIZE, 0, kTrackPageSize);
  SendMessageA(trackBar_, TBM_SETPOS, TRUE, panel::kTrackMin);

  // Display only: disabled, so neither typing nor focus reaches them.
  edit1_ = Child("EDIT", kEdit1Text, WS_DISABLED | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kEdit1.x, kEdit1.y,
                 kEdit1.w, kEdit1.h, kEdit1Id);
  edit2_ = Child("EDIT", kEdit2Text, WS_DISABLED | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kEdit2.x, kEdit2.y,
                 kEdit2.w, kEdit2.h, kEdit2Id);
  for (auto [edit, length] : {std::pair{edit1_, kEdit1MaxLength}, std::pair{edit2_, kEdit2MaxLength}}) {
    SendMessageA(edit, EM_LIMITTEXT, length, 0);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(digitsFont_), FALSE);
    // The font's own margins would leave no room for five digits.
    SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(kEditMargin, kEditMargin));
  }

  tooltips_ =
      CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, Instance(), nullptr);
  for (const ButtonLayout& b : kButtons) {
    HWND button =
        Child("BUTTON", b.caption, WS_TABSTOP | BS_PUSHBUTTON, 0, b.box.x, b.box.y, b.box.w, b.box.h, b.number);
    if (b.number == 20 || b.number == 21) SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(stepFont_), FALSE);
    if (b.hint) AddHint(button, b.hint);
  }

  statusBar_ =
      Child(STATUSCLASSNAMEA, "", 0, 0, 0, kClientHeight - kStatusHeight, kClientWidth, kStatusHeight, kStatusBarId);
  int edges[kPanelCount];
  int right = 0;
  for (int i = 0; i < kPanelCount; ++i) edges[i] = right += kPanelWidths[i];
  SendMessageA(statusBar_, SB_SETPARTS, kPanelCount, reinterpret_cast<LPARAM>(edges));
  SetPanelText(panel::kModePanel, panel::kStartModeText);
  SetPanelText(panel::kStreamPanel, panel::kStreamText);
}

void MainWindow::AddHint(HWND control, const char* utf8Text) {
  if (!tooltips_) return;
  std::wstring text = Wide(utf8Text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::Show() {
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
}

std::string MainWindow::Edit1Text() const { return TextOf(edit1_); }
void MainWindow::SetEdit1Text(const std::string& text) { SetWindowTextA(edit1_, text.c_str()); }
std::string MainWindow::Edit2Text() const { return TextOf(edit2_); }
void MainWindow::SetEdit2Text(const std::string& text) { SetWindowTextA(edit2_, text.c_str()); }

std::string MainWindow::PanelText(int index) const {
  return index >= 0 && index < kPanelCount ? panels_[index] : std::string();
}

void MainWindow::SetPanelText(int index, const std::string& text) {
  if (index < 0 || index >= kPanelCount || panels_[index] == text) return;
  panels_[index] = text;
  SendMessageA(statusBar_, SB_SETTEXTA, index, reinterpret_cast<LPARAM>(text.c_str()));
}

int MainWindow::TrackBarPosition() const { return static_cast<int>(SendMessageA(trackBar_, TBM_GETPOS, 0, 0)); }
void MainWindow::MoveTrackBar(int position) { SendMessageA(trackBar_, TBM_SETPOS, TRUE, position); }

bool MainWindow::PressButtonForKey(unsigned message, std::uintptr_t key) {
  // While the error box is up the panel is disabled and takes no input.
  if (!OnButtonClick || !IsWindowEnabled(window_)) return false;
  // Leave the shortcuts alone.
  if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
  char character = 0;
  if (message == WM_KEYDOWN && key == VK_RETURN) {
    character = '\r';  // before the dialog navigation makes it a click of the focused button
  } else if (message == WM_CHAR && key < 0x80) {
    character = static_cast<char>(key);  // main row and keypad alike, shifted keys included
  }
  const int number = key_buttons::ButtonForKey(character);
  if (number == 0) return false;
  OnButtonClick(number);
  return true;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (HIWORD(wParam) == BN_CLICKED && id >= kFirstButton && id <= kLastButton && OnButtonClick) OnButtonClick(id);
      return 0;
    }
    case WM_HSCROLL:
      // Every notification, the end of a drag included, is a change.
      if (reinterpret_cast<HWND>(lParam) == trackBar_ && OnTrackBarScroll) OnTrackBarScroll(TrackBarPosition());
      return 0;
    case WM_CLOSE:
      if (OnClose) OnClose();
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(window_, message, wParam, lParam);
  }
}
