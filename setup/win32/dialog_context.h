#pragma once
#include <windows.h>

#include <memory>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/win32/window.h"
#include "setup/music_dialog_model.h"
#include "setup/settings_dialog_model.h"

namespace tessmoor {

// What the settings dialog hands to every dialog it opens: the store, the files, itself as the
// owner window, and the working values that all open instances of a dialog share.
struct DialogContext {
  Settings& settings;
  FileSystem& files;
  HWND owner;
  SettingsDialogModel& setup;                 // pattern1_detail_texts(), pattern2_detail_texts()
  std::shared_ptr<MusicPaths> music_paths;    // shared by every open music dialog
};

// Each creates a new, shown, modeless instance owned by `context.owner`. The settings dialog keeps
// the instances (closed ones are hidden) until it is destroyed.
std::unique_ptr<win32::Window> CreateNo1SetUpDetailForm(const DialogContext& context);
std::unique_ptr<win32::Window> CreateNo2SetUpDetailForm(const DialogContext& context);
std::unique_ptr<win32::Window> CreateMusicSetUpForm(const DialogContext& context);
std::unique_ptr<win32::Window> CreateForm4(const DialogContext& context);
std::unique_ptr<win32::Window> CreateExtendedSetUpForm(const DialogContext& context);

}  // namespace tessmoor
