#include "tests/support/fake_windows.h"

#include "app/settings_keys.h"
#include "show/show_settings.h"
#include "tests/support/fakes.h"

namespace tessmoor::testing {

namespace {

std::string SlotPath(int box, int slot) {
  return "C:\\Pictures\\box" + std::to_string(box) + "\\slot" + std::to_string(slot) + ".jpg";
}

const std::string kNoPath;

}  // namespace

void FakePictureSource::Add(int box, int slot, int width, int height) {
  AddScaled(box, slot, width, height, width, height);
}

void FakePictureSource::AddScaled(int box, int slot, int source_width, int source_height,
                                  int pixels_width, int pixels_height) {
  auto picture = std::make_unique<Picture>();
  picture->width = pixels_width;
  picture->height = pixels_height;
  picture->source_width = source_width;
  picture->source_height = source_height;
  paths_[box][slot] = SlotPath(box, slot);
  pictures_[{box, slot}] = std::move(picture);
}

void FakePictureSource::AddUndecodable(int box, int slot) {
  paths_[box][slot] = SlotPath(box, slot);
  pictures_.erase({box, slot});
}

void FakePictureSource::AddEmpty(int box, int slot) {
  paths_[box][slot] = SlotPath(box, slot);
  pictures_[{box, slot}] = std::make_unique<Picture>();
}

const std::string& FakePictureSource::Path(int box, int slot) const {
  if (box < 1 || box > 4 || slot < 0 || slot > 12) return kNoPath;
  return paths_[box][slot];
}

const Picture* FakePictureSource::PictureAt(int box, int slot) {
  requests_.emplace_back(box, slot);
  if (Path(box, slot).empty()) return nullptr;
  auto it = pictures_.find({box, slot});
  if (it == pictures_.end()) {
    paths_[box][slot].clear();
    return nullptr;
  }
  return it->second.get();
}

std::shared_ptr<const Picture> FakePictureSource::Take(int box, int slot) {
  auto it = pictures_.find({box, slot});
  if (Path(box, slot).empty() || it == pictures_.end()) return nullptr;
  return std::shared_ptr<const Picture>(std::shared_ptr<const Picture>(), it->second.get());
}

int FakePictureSource::SlotOf(const Picture* picture) const {
  for (const auto& [key, held] : pictures_)
    if (held.get() == picture) return key.second;
  return 0;
}

void FakePictureWindow::Create(const Picture& picture, Size size) {
  width_ = size.width;
  height_ = size.height;
  shown_slot_ = source_.SlotOf(&picture);
  ++creates_;
  log_.push_back("Create " + std::to_string(size.width) + "x" + std::to_string(size.height) + " s" +
                 std::to_string(shown_slot_));
}

void FakePictureWindow::SetPosition(int left, int top) {
  left_ = left;
  top_ = top;
  log_.push_back("Position " + std::to_string(left) + "," + std::to_string(top));
}

void FakePictureWindow::Show() {
  visible_ = true;
  log_.push_back("Show");
}

void FakePictureWindow::Close() {
  visible_ = false;
  log_.push_back("Close");
}

std::vector<std::string> FakePictureWindow::TakeLog() {
  std::vector<std::string> tick(log_.begin() + static_cast<std::ptrdiff_t>(taken_), log_.end());
  taken_ = log_.size();
  return tick;
}

int StoredScale(int window, const std::string& text) {
  MemoryStore store;
  store.Set(std::string(keys::kPattern), "2");
  store.Set(keys::WindowScale(window), text);
  Settings settings(store);
  return ReadPattern2Settings(settings).scale[window - 1];
}

}  // namespace tessmoor::testing
