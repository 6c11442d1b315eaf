#include "tests/support/fake_canvas.h"

#include <ostream>

#include "app/settings_keys.h"

namespace tessmoor::testing {

void FakeCanvas::StretchDraw(const Rect& rect, const Picture& picture) {
  auto it = names_.find(&picture);
  calls_.push_back({false, rect, it == names_.end() ? -1 : it->second, &picture});
}

std::vector<FakeCanvas::Call> FakeCanvas::TakeCalls() {
  std::vector<Call> taken;
  taken.swap(calls_);
  return taken;
}

std::string DescribeDraw(int picture, const Rect& rect) {
  return "draw " + std::to_string(picture) + " (" + std::to_string(rect.left) + "," +
         std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
         std::to_string(rect.bottom) + ")";
}

std::string Describe(const std::vector<FakeCanvas::Call>& calls) {
  std::string text;
  for (const FakeCanvas::Call& call : calls) {
    if (!text.empty()) text += "; ";
    text += call.clear ? std::string("clear") : DescribeDraw(call.picture, call.rect);
  }
  return text;
}

FakePictures::FakePictures(FileSystem* files) : files_(files) {}

void FakePictures::Set(int box, int slot, std::string path, int source_width, int source_height) {
  Slot& s = slots_[Index(box, slot)];
  s.kind = Kind::kPicture;
  s.path = std::move(path);
  s.picture = Picture{};
  s.picture.width = 2;
  s.picture.height = 2;
  s.picture.source_width = source_width;
  s.picture.source_height = source_height;
  s.picture.pixels.assign(static_cast<std::size_t>(s.picture.stride()) * 2, 0x80);
}

void FakePictures::SetNotDecoded(int box, int slot, std::string path) {
  Slot& s = slots_[Index(box, slot)];
  s.kind = Kind::kNotDecoded;
  s.path = std::move(path);
  s.picture = Picture{};
}

void FakePictures::SetFailing(int box, int slot, std::string path) {
  Slot& s = slots_[Index(box, slot)];
  s.kind = Kind::kFailing;
  s.path = std::move(path);
  s.picture = Picture{};
}

void FakePictures::NameOn(FakeCanvas& canvas) const {
  for (int i = 0; i < 48; ++i) canvas.Name(slots_[i].picture, i + 1);
}

const std::string& FakePictures::Path(int box, int slot) const {
  if (box < 1 || box > 4 || slot < 1 || slot > 12) return no_path_;
  return slots_[Index(box, slot)].path;
}

bool FakePictures::Present(int box, int slot) {
  const std::string& path = Path(box, slot);
  return files_ ? files_->FileExists(path) : !path.empty();
}

const Picture* FakePictures::PictureAt(int box, int slot) {
  ++requests_;
  if (box < 1 || box > 4 || slot < 1 || slot > 12) return nullptr;
  Slot& s = slots_[Index(box, slot)];
  switch (s.kind) {
    case Kind::kPicture:
    case Kind::kNotDecoded:
      return &s.picture;
    case Kind::kFailing:
      s.path.clear();
      return nullptr;
    case Kind::kNone:
      break;
  }
  return nullptr;
}

SlideRig::SlideRig(std::string mode, int width, int height) : canvas(width, height) {
  store.Set(std::string(keys::kSlideInterval), "1500");
  show.pattern = ShowPattern::kPattern1;
  show.detail_mode = mode;
  show.current_detail_mode = mode;
  show.slide_interval = 1500;
  show.scale = 50;
  show.box_use = {true, true, true, true};
  show.slide_timer.interval_ms = 1;
  pictures.NameOn(canvas);
  store.ClearWrites();
}

void SlideRig::ReadShowFromStore() {
  store.Set(std::string(keys::kPattern), "1");
  store.Set(std::string(keys::kDetailMode), show.detail_mode);
  show = ReadShowSettings(settings);
  store.ClearWrites();
}

std::string SlideRig::PathOf(int box, int slot) {
  return "C:\\Pictures\\Box" + std::to_string(box) + "\\Slot" + std::to_string(slot) + ".jpg";
}

void SlideRig::Register(int box, int slot, int source_width, int source_height) {
  const std::string path = PathOf(box, slot);
  files.Add(path);
  pictures.Set(box, slot, path, source_width, source_height);
}

void SlideRig::RegisterBox(int box, int source_width, int source_height) {
  for (int s = 1; s <= 12; ++s) Register(box, s, source_width, source_height);
}

void SlideRig::RegisterAll(int source_width, int source_height) {
  for (int b = 1; b <= 4; ++b) RegisterBox(b, source_width, source_height);
}

void SlideRig::Vanish(int box, int slot) { files.Remove(PathOf(box, slot)); }

SlideEngine& SlideRig::engine() {
  if (!engine_) {
    engine_ = std::make_unique<SlideEngine>(
        SlideEngine::Parts{show, settings, pictures, canvas, random});
  }
  return *engine_;
}

SlideRig::TickRecord SlideRig::Tick() {
  canvas.TakeCalls();
  const SlideEngine::SlideTick tick = engine().Tick();
  return {Describe(canvas.TakeCalls()), tick.interval_ms, tick.pause_seconds};
}

std::vector<SlideRig::TickRecord> SlideRig::Ticks(int count) {
  std::vector<TickRecord> records;
  for (int i = 0; i < count; ++i) records.push_back(Tick());
  return records;
}

std::ostream& operator<<(std::ostream& out, const SlideRig::TickRecord& record) {
  return out << "{\"" << record.screen << "\", " << record.interval_ms << " ms, pause "
             << record.pause_seconds << " s}";
}

}  // namespace tessmoor::testing
