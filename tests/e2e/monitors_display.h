#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Changing the monitors while the module runs, the way the display settings do: through
// ChangeDisplaySettingsEx, which under Wine changes the X server's layout through RandR and tells
// every window with WM_DISPLAYCHANGE. (A change made with xrandr itself reaches Wine's list of
// monitors too, but no window hears of it.)
namespace tessmoor::e2e::monitors {

struct Display {
  std::wstring name;  // \\.\DISPLAYn
  RECT rect{};
  bool primary = false;
};
// The displays attached to the desktop now.
std::vector<Display> AttachedDisplays();
// The attached display whose area is `r`.
std::optional<Display> DisplayOver(const RECT& r);

// Each applies the change at once; false when the system refused it.
bool Detach(const std::wstring& name);
// Attaches the display, or changes it, to cover `r` (its mode and its place).
bool Place(const std::wstring& name, const RECT& r);
// The largest mode of the display with fewer pixels than `size`.
std::optional<SIZE> SmallerMode(const std::wstring& name, SIZE size);

// Puts every display seen at its making back into its mode and place when it goes, detaching
// those that were not attached, so that the next test finds the layout it was given.
class RestoreDisplays {
 public:
  RestoreDisplays();
  RestoreDisplays(const RestoreDisplays&) = delete;
  RestoreDisplays& operator=(const RestoreDisplays&) = delete;
  ~RestoreDisplays();

 private:
  std::vector<Display> attached_;
};

}  // namespace tessmoor::e2e::monitors
