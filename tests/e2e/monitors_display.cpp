#include "tests/e2e/monitors_display.h"

namespace tessmoor::e2e::monitors {

namespace {
std::vector<std::wstring> DeviceNames(bool attached_only) {
  std::vector<std::wstring> names;
  for (DWORD i = 0;; ++i) {
    DISPLAY_DEVICEW device{};
    device.cb = sizeof(device);
    if (!EnumDisplayDevicesW(nullptr, i, &device, 0)) break;
    if (attached_only && !(device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP)) continue;
    names.push_back(device.DeviceName);
  }
  return names;
}

bool Apply(const std::wstring& name, DEVMODEW& mode) {
  const LONG staged = ChangeDisplaySettingsExW(name.c_str(), &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr);
  const LONG applied = ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
  return staged == DISP_CHANGE_SUCCESSFUL && applied == DISP_CHANGE_SUCCESSFUL;
}
}  // namespace

std::vector<Display> AttachedDisplays() {
  std::vector<Display> displays;
  for (const std::wstring& name : DeviceNames(true)) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(mode);
    if (!EnumDisplaySettingsExW(name.c_str(), ENUM_CURRENT_SETTINGS, &mode, 0)) continue;
    const RECT r{mode.dmPosition.x, mode.dmPosition.y, mode.dmPosition.x + static_cast<LONG>(mode.dmPelsWidth),
                 mode.dmPosition.y + static_cast<LONG>(mode.dmPelsHeight)};
    displays.push_back({name, r, mode.dmPosition.x == 0 && mode.dmPosition.y == 0});
  }
  return displays;
}

std::optional<Display> DisplayOver(const RECT& r) {
  for (const Display& d : AttachedDisplays())
    if (EqualRect(&d.rect, &r)) return d;
  return std::nullopt;
}

bool Detach(const std::wstring& name) {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
  return Apply(name, mode);
}

bool Place(const std::wstring& name, const RECT& r) {
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPosition = {r.left, r.top};
  mode.dmPelsWidth = static_cast<DWORD>(r.right - r.left);
  mode.dmPelsHeight = static_cast<DWORD>(r.bottom - r.top);
  return Apply(name, mode);
}

std::optional<SIZE> SmallerMode(const std::wstring& name, SIZE size) {
  std::optional<SIZE> best;
  DEVMODEW mode{};
  mode.dmSize = sizeof(mode);
  for (DWORD i = 0; EnumDisplaySettingsExW(name.c_str(), i, &mode, 0); ++i) {
    const LONG w = static_cast<LONG>(mode.dmPelsWidth), h = static_cast<LONG>(mode.dmPelsHeight);
    if (w * h >= size.cx * size.cy || w < 200 || h < 200) continue;
    if (!best || w * h > best->cx * best->cy) best = SIZE{w, h};
  }
  return best;
}

RestoreDisplays::RestoreDisplays() : attached_(AttachedDisplays()) {}

RestoreDisplays::~RestoreDisplays() {
  for (const Display& now : AttachedDisplays()) {
    bool was = false;
    for (const Display& d : attached_) was = was || d.name == now.name;
    if (!was) Detach(now.name);
  }
  for (const Display& d : attached_) {
    const std::optional<Display> now = DisplayOver(d.rect);
    if (!now || now->name != d.name) Place(d.name, d.rect);
  }
}

}  // namespace tessmoor::e2e::monitors
