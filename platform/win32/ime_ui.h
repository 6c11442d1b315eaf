#pragma once
#include <windows.h>

namespace tessmoor::win32 {

// Hides the input-method status window while the show runs and puts the user's setting back
// afterwards (the change is neither saved to the profile nor broadcast).
class ImeStatusWindowOff {
 public:
  ImeStatusWindowOff() {
    BOOL shown = TRUE;
    saved_ = SystemParametersInfoW(SPI_GETSHOWIMEUI, 0, &shown, 0) != FALSE;
    previous_ = shown;
    SystemParametersInfoW(SPI_SETSHOWIMEUI, FALSE, nullptr, 0);
  }
  ImeStatusWindowOff(const ImeStatusWindowOff&) = delete;
  ImeStatusWindowOff& operator=(const ImeStatusWindowOff&) = delete;
  ~ImeStatusWindowOff() {
    if (saved_) SystemParametersInfoW(SPI_SETSHOWIMEUI, previous_ ? TRUE : FALSE, nullptr, 0);
  }

 private:
  bool saved_ = false;
  BOOL previous_ = TRUE;
};

}  // namespace tessmoor::win32
