#pragma once
// What both programs do at start, once their window and its panel view
// exist: the error box becomes the handler of errors that escape an event
// handler, FormCreate opens the radio link and reads host.ini, one line says
// what became of the radio, and the servers that serve.ini names start. The
// programs' own main()s only make their toolkit's window and wire its input.

#include <memory>

#include "panel/PanelView.h"
#include "panel/Unit1.h"

class PanelServers;

class ProgramStart {
public:
  // form and view must outlive this object, which keeps the servers running
  // and the handler installed for as long as it lives.
  ProgramStart(TForm1& form, const PanelView& view);
  ~ProgramStart();
  ProgramStart(const ProgramStart&) = delete;
  ProgramStart& operator=(const ProgramStart&) = delete;

private:
  std::unique_ptr<PanelServers> servers_;
};
