#pragma once
#include <windows.h>

#include <map>
#include <memory>

#include "platform/image/picture_decoder.h"
#include "setup/folder_preview.h"

namespace tessmoor {

// Makes each folder preview on a thread of its own and hands it to the dialog's thread through
// the dialog's message queue: the window forwards kMessage to Deliver.
//
// A thread never waits for the dialog and the dialog never waits for a thread: a listing that
// hangs on a dead share is left behind when the dialog goes. The threads share only a mailbox
// with the window handle, which the destructor empties, so a late thread finds nobody to tell;
// they keep the decoder alive themselves and list through a file system of their own.
class FolderPreviewThreads final : public FolderPreviews {
 public:
  static constexpr UINT kMessage = WM_APP + 1;  // wparam: the request's number

  FolderPreviewThreads(HWND window, std::shared_ptr<const PictureDecoder> decoder);
  ~FolderPreviewThreads() override;
  FolderPreviewThreads(const FolderPreviewThreads&) = delete;
  FolderPreviewThreads& operator=(const FolderPreviewThreads&) = delete;

  void Start(FolderPreviewRequest request, Done done) override;
  // The window is going: no preview is delivered any more, and none is made for a later Start.
  void Stop();
  // On the window's thread, for kMessage: runs the waiting `done` of request `number`.
  void Deliver(WPARAM number);

 private:
  struct Mailbox;
  std::shared_ptr<Mailbox> mailbox_;
  std::shared_ptr<const PictureDecoder> decoder_;
  std::map<WPARAM, Done> waiting_;
  WPARAM next_ = 0;
  bool stopped_ = false;
};

}  // namespace tessmoor
