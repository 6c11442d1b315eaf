#pragma once
#include <windows.h>

#include <cstdint>

#include "platform/file_system.h"
#include "platform/win32/mci_player.h"
#include "platform/win32/window.h"
#include "show/music_settings.h"
#include "show/show_music.h"

namespace tessmoor {

// The music of the full-screen show, bound to the show window: the player sends its
// notifications to that window, and one timer of that window ends a track whose device never
// reports its end. The window forwards both and calls Shutdown while its handle still exists.
// Created only for a window that covers the screen: the show, or the pattern-2 preview form
// started without a preview parent; a preview inside the host's window plays no music.
class ShowMusicDriver {
 public:
  // Not used by any other timer of the window the driver is bound to.
  static constexpr UINT_PTR kMusicLengthTimer = 21;

  // `window` must exist already and outlive the driver.
  ShowMusicDriver(win32::Window& window, MusicSettings settings, FileSystem& files);
  ShowMusicDriver(const ShowMusicDriver&) = delete;
  ShowMusicDriver& operator=(const ShowMusicDriver&) = delete;
  ~ShowMusicDriver();

  // Starts the first playable track. A track that cannot be opened or played is passed over;
  // nothing here throws or waits for a track.
  void Start();
  // True when `message` was a notification of this driver's player (it is then handled).
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // True when `id` is the music timer (it is then handled).
  bool OnTimer(UINT_PTR id);
  // Stops and closes the player and the timer; later calls and messages do nothing.
  void Shutdown();

 private:
  static std::int64_t Now();
  void Apply(const MusicTimer& timer, std::int64_t now_ms);

  win32::Window& window_;
  win32::MciPlayer player_;
  ShowMusic music_;
};

}  // namespace tessmoor
