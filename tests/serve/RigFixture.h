#pragma once
// The rig-control protocol against the real panel logic: TForm1 on the fake
// window and the simulated radio, reached through FormPanelControl.

#include "serve/FormPanelControl.h"
#include "serve/RigControl.h"
#include "serve/RigSession.h"
#include "tests/panel/PanelFixture.h"

class RigTest : public PanelTest {
protected:
  // The answer to one command line.
  std::string Ask(std::string_view line) { return rig.Answer(line, client).text; }

  FormPanelControl panel{form, view};
  RigControl rig{panel};
  RigClient client;
};
