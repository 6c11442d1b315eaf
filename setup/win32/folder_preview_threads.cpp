#include "setup/win32/folder_preview_threads.h"

#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/win32/file_system_win32.h"
#include "platform/win32/handles.h"

namespace tessmoor {

struct FolderPreviewThreads::Mailbox {
  std::mutex lock;
  HWND window = nullptr;  // null once the dialog is gone
  std::map<WPARAM, FolderPreview> made;
};

FolderPreviewThreads::FolderPreviewThreads(HWND window, std::shared_ptr<const PictureDecoder> decoder)
    : mailbox_(std::make_shared<Mailbox>()), decoder_(std::move(decoder)) {
  mailbox_->window = window;
}

FolderPreviewThreads::~FolderPreviewThreads() { Stop(); }

void FolderPreviewThreads::Stop() {
  {
    const std::lock_guard<std::mutex> hold(mailbox_->lock);
    mailbox_->window = nullptr;
    mailbox_->made.clear();
  }
  waiting_.clear();
  stopped_ = true;
}

void FolderPreviewThreads::Start(FolderPreviewRequest request, Done done) {
  if (stopped_) return;
  const WPARAM number = ++next_;
  waiting_[number] = std::move(done);
  auto work = [mailbox = mailbox_, decoder = decoder_, request, number] {
    // The system's decoders are COM objects: this thread joins the process's apartment.
    const win32::ComApartment apartment;
    win32::Win32FileSystem files;
    FolderPreview made;
    try {
      made = MakeFolderPreview(files, *decoder, request);
    } catch (...) {
      // Out of memory, say: the box shows the mark without a picture rather than end the process.
    }
    const std::lock_guard<std::mutex> hold(mailbox->lock);
    if (!mailbox->window) return;
    mailbox->made[number] = std::move(made);
    if (!PostMessageW(mailbox->window, kMessage, number, 0)) mailbox->made.erase(number);
  };
  try {
    std::thread(std::move(work)).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the dialog waits for this one rather than show nothing.
    win32::Win32FileSystem files;
    Done now = std::exchange(waiting_[number], nullptr);
    waiting_.erase(number);
    now(MakeFolderPreview(files, *decoder_, request));
  }
}

void FolderPreviewThreads::Deliver(WPARAM number) {
  std::optional<FolderPreview> made;
  {
    const std::lock_guard<std::mutex> hold(mailbox_->lock);
    auto found = mailbox_->made.find(number);
    if (found == mailbox_->made.end()) return;
    made = std::move(found->second);
    mailbox_->made.erase(found);
  }
  auto waiting = waiting_.find(number);
  if (waiting == waiting_.end()) return;
  Done done = std::move(waiting->second);
  waiting_.erase(waiting);
  done(std::move(*made));
}

}  // namespace tessmoor
