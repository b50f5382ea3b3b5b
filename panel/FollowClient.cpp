#include "panel/Unit1.h"

#include "base/Exception.h"

void TForm1::FetchFollowFile() {
  try {
    followFetch_->Run(HostUrl, FetchBounds);
    followReport_.Worked(HostUrl);
  } catch (const std::exception& error) {
    followReport_.Failed(HostUrl, error.what());
    throw;
  }
}
