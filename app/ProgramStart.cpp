#include "app/ProgramStart.h"

#include "base/Application.h"
#include "platform/diagnostics.h"
#include "radio/LinkReport.h"
#include "serve/PanelServers.h"

ProgramStart::ProgramStart(TForm1& form, const PanelView& view) {
  SetApplicationExceptionHandler([&form](const std::exception& error) { form.ReportError(error); });
  form.RunHandler([&form] { form.FormCreate(nullptr); });
  // Started from a menu or a shortcut there is nobody to ask; this line says
  // which library was loaded and whether the radio's pipes opened.
  platform::WriteDiagnostic(DescribeRadioLink(GatherRadioLinkFacts()));
  servers_ = std::make_unique<PanelServers>(form, view);
}

ProgramStart::~ProgramStart() {
  servers_.reset();
  SetApplicationExceptionHandler({});
}
