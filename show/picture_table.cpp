#include "show/picture_table.h"

#include <algorithm>

#include "app/settings_keys.h"
#include "platform/text.h"
#include "show/fit.h"

namespace tessmoor {
namespace {

bool Decodable(std::string_view lower_extension) {
  return lower_extension == ".jpg" || lower_extension == ".jpeg" || lower_extension == ".bmp";
}

// A fit side of 0 (a window under 100 pixels) must not turn into "no limit".
DecodeTarget Square(int side) {
  side = std::max(side, 1);
  return {side, side};
}

const std::string& NoPath() {
  static const std::string empty;
  return empty;
}

}  // namespace

std::array<DecodeTarget, 4> ShowDecodeTargets(const ShowSettings& show, int client_width,
                                              int client_height) {
  std::array<DecodeTarget, 4> targets{};
  for (int b = 1; b <= keys::kBoxCount; ++b) {
    if (show.pattern == ShowPattern::kPattern2) {
      targets[b - 1] = Square(FitSide(client_width, client_height, show.window_scale[b - 1]) / 2);
    } else {
      targets[b - 1] = Square(FitSide(client_width, client_height, show.scale));
    }
  }
  return targets;
}

PictureTable::PictureTable(Settings& settings, FileSystem& files, ShowSettings& show,
                           Options options)
    : show_(show) {
  for (int b = 1; b <= keys::kBoxCount; ++b) {
    for (int s = 1; s <= keys::kSlotsPerBox; ++s) {
      // A key never set is written as the empty text and so holds no picture.
      const std::string value = settings.Read(keys::ImagePath(b, s));
      Slot& slot = slots_[Index(b, s)];
      if (files.FileExists(value)) {
        paths_[b - 1][s] = value;
        ++usable_[b - 1];
        slot.kind = Decodable(FileExtension(LowerCase(value))) ? Kind::kDecoded : Kind::kNotDecoded;
      }
    }
    if (usable_[b - 1] == 0) ForceBoxOff(show_, b);
  }

  // The order the show asks for them: pattern 1 goes through box 1 first, the four pattern-2
  // windows start together with slot 1 of each box. Boxes the show passes over come last.
  std::vector<int> order;
  const bool by_slot = show.pattern == ShowPattern::kPattern2;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 48; ++i) {
      const int box = by_slot ? i % 4 + 1 : i / 12 + 1;
      const int slot = by_slot ? i / 4 + 1 : i % 12 + 1;
      const bool in_use = show.box_use[box - 1];
      if (in_use == (pass == 0)) order.push_back(Index(box, slot));
    }
  }
  std::vector<DecodeQueue::Job> jobs;
  for (int index : order) {
    Slot& slot = slots_[index];
    if (slot.kind != Kind::kDecoded) continue;
    const int box = index / 12 + 1;
    const std::string& path = paths_[box - 1][index % 12 + 1];
    slot.job = static_cast<int>(jobs.size());
    slot_of_job_.push_back(index);
    jobs.push_back({path, std::string(FileExtension(LowerCase(path))), options.targets[box - 1]});
  }
  queue_ = std::make_unique<DecodeQueue>(files, std::move(jobs), options.threads);
}

const std::string& PictureTable::Path(int box, int slot) const {
  if (box < 1 || box > keys::kBoxCount || slot < 0 || slot > keys::kSlotsPerBox) return NoPath();
  return paths_[box - 1][slot];
}

const Picture* PictureTable::PictureAt(int box, int slot) {
  if (box < 1 || box > keys::kBoxCount || slot < 1 || slot > keys::kSlotsPerBox) return nullptr;
  const int index = Index(box, slot);
  switch (slots_[index].kind) {
    case Kind::kEmpty:
      return nullptr;
    case Kind::kNotDecoded:
      return &not_decoded_;
    case Kind::kDecoded:
      break;
  }
  const Picture* picture = queue_->Wait(slots_[index].job);
  if (picture == nullptr) Lose(index);
  return picture;
}

bool PictureTable::BoxHasPicture(int box) {
  if (box < 1 || box > keys::kBoxCount || usable_[box - 1] == 0) return false;
  std::vector<int> jobs;
  for (int s = 1; s <= keys::kSlotsPerBox; ++s) {
    const Slot& slot = slots_[Index(box, s)];
    if (slot.kind == Kind::kNotDecoded) return true;
    if (slot.kind == Kind::kDecoded) jobs.push_back(slot.job);
  }
  if (queue_->WaitForAnyDecoded(jobs) >= 0) return true;
  for (int job : jobs) Lose(slot_of_job_[job]);
  return false;
}

std::vector<int> PictureTable::Collect() {
  for (int job : queue_->Failed()) Lose(slot_of_job_[job]);
  std::vector<int> boxes;
  boxes.swap(switched_off_);
  return boxes;
}

void PictureTable::Lose(int index) {
  Slot& slot = slots_[index];
  if (slot.lost) return;
  slot.lost = true;
  const int box = index / 12 + 1;
  const int s = index % 12 + 1;
  paths_[box - 1][s].clear();
  if (--usable_[box - 1] == 0) {
    ForceBoxOff(show_, box);
    switched_off_.push_back(box);
  }
}

}  // namespace tessmoor
