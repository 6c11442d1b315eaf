#include "show/picture_table.h"

#include <algorithm>
#include <thread>

#include "app/extended_settings.h"
#include "app/settings_keys.h"
#include "show/fit.h"

namespace tessmoor {
namespace {

// A fit side of 0 (a window under 100 pixels) must not turn into "no limit".
DecodeTarget Square(int side) {
  side = std::max(side, 1);
  return {side, side};
}

const std::string& NoPath() {
  static const std::string empty;
  return empty;
}

// How long the table's destruction gives the folder threads, all together, to end.
constexpr std::chrono::milliseconds kFolderStopWait{300};

std::uint64_t DrawSeed(RandomSource& random) {
  return (static_cast<std::uint64_t>(random.Next31()) << 31) ^ static_cast<std::uint64_t>(random.Next31());
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

PictureTable::PictureTable(Settings& settings, FileSystem& files, ShowSettings& show, Options options,
                           PicturePipeline pipeline)
    : settings_(settings),
      files_(files),
      show_(show),
      decoder_(pipeline.decoder ? pipeline.decoder : std::make_shared<const BuiltInPictureDecoder>()),
      folder_wait_(pipeline.folder_wait) {
  for (int b = 1; b <= keys::kBoxCount; ++b) {
    for (int s = 1; s <= keys::kSlotsPerBox; ++s) {
      // A key never set is written as the empty text and so holds no picture.
      const std::string value = settings.Read(keys::ImagePath(b, s));
      Slot& slot = slots_[Index(b, s)];
      if (files.FileExists(value)) {
        slot.kind = decoder_->Accepts(PictureExtension(value)) ? Kind::kDecoded : Kind::kNotDecoded;
      } else if (!value.empty() && files.FolderExists(value)) {
        slot.kind = Kind::kFolder;
      } else {
        continue;
      }
      paths_[b - 1][s] = value;
      ++usable_[b - 1];
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
  int threads = options.threads;
  if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  turns_ = std::make_shared<DecodeTurns>(threads);

  std::vector<DecodeQueue::Job> jobs;
  for (int rank = 0; rank < static_cast<int>(order.size()); ++rank) {
    const int index = order[rank];
    Slot& slot = slots_[index];
    if (slot.kind != Kind::kDecoded) continue;
    const int box = index / 12 + 1;
    const std::string& path = paths_[box - 1][index % 12 + 1];
    slot.job = static_cast<int>(jobs.size());
    slot_of_job_.push_back(index);
    jobs.push_back({path, PictureExtension(path), options.targets[box - 1], rank});
  }
  queue_ = std::make_unique<DecodeQueue>(files, *decoder_, std::move(jobs), threads,
                                         DecodeQueue::Threads{turns_.get(), pipeline.thread_scope});
  StartFolders(settings, order, options, pipeline);
}

void PictureTable::StartFolders(Settings& settings, const std::vector<int>& order, const Options& options,
                                const PicturePipeline& pipeline) {
  if (std::none_of(slots_.begin(), slots_.end(), [](const Slot& s) { return s.kind == Kind::kFolder; })) return;
  const ExtendedSettings extended = ReadExtendedSettings(settings);
  const FolderOrderKind order_kind = extended.folder_name_order ? FolderOrderKind::kByName : FolderOrderKind::kShuffled;
  SplitMixRandom fixed(1);
  RandomSource& random = pipeline.random ? *pipeline.random : fixed;
  for (int rank = 0; rank < static_cast<int>(order.size()); ++rank) {
    const int index = order[rank];
    if (slots_[index].kind != Kind::kFolder) continue;
    const int box = index / 12 + 1;
    const int s = index % 12 + 1;
    FolderPicker::Setup setup{paths_[box - 1][s], extended.folder_subfolders, order_kind,
                              settings.Peek(keys::FolderPlace(box, s)), options.targets[box - 1]};
    feeds_[index] = std::make_unique<FolderFeed>(FolderFeed::Shared{files_, decoder_, turns_, pipeline.thread_scope},
                                                 std::move(setup), rank, DrawSeed(random));
  }
}

PictureTable::~PictureTable() {
  // The folder threads stop, nothing waits for a decode turn from now on, and the folder threads
  // get one deadline together.
  for (auto& feed : feeds_)
    if (feed) feed->RequestStop();
  turns_->Stop();
  const auto deadline = std::chrono::steady_clock::now() + kFolderStopWait;
  for (auto& feed : feeds_)
    if (feed) feed->Finish(deadline);
}

const std::string& PictureTable::Path(int box, int slot) const {
  if (box < 1 || box > keys::kBoxCount || slot < 0 || slot > keys::kSlotsPerBox) return NoPath();
  return paths_[box - 1][slot];
}

bool PictureTable::Present(int box, int slot) {
  if (!InRange(box, slot)) return false;
  const int index = Index(box, slot);
  // A folder is never asked for on this thread: its own thread knows whether it holds pictures.
  if (slots_[index].kind == Kind::kFolder) return FolderUsable(index);
  return files_.FileExists(paths_[box - 1][slot]);
}

const Picture* PictureTable::PictureAt(int box, int slot) {
  if (!InRange(box, slot)) return nullptr;
  const int index = Index(box, slot);
  switch (slots_[index].kind) {
    case Kind::kEmpty:
      return nullptr;
    case Kind::kNotDecoded:
      return &not_decoded_;
    case Kind::kFolder: {
      if (!FolderUsable(index)) return nullptr;
      const Picture* picture = feeds_[index]->Peek(folder_wait_);
      if (picture == nullptr) FolderUsable(index);
      return picture;
    }
    case Kind::kDecoded:
      break;
  }
  const Picture* picture = queue_->Wait(slots_[index].job);
  if (picture == nullptr) Lose(index);
  return picture;
}

std::shared_ptr<const Picture> PictureTable::Take(int box, int slot) {
  if (!InRange(box, slot) || slots_[Index(box, slot)].kind != Kind::kFolder) return PictureSource::Take(box, slot);
  if (PictureAt(box, slot) == nullptr) return nullptr;
  std::optional<FolderFeed::Taken> taken = feeds_[Index(box, slot)]->Take();
  if (!taken) return nullptr;
  settings_.Write(keys::FolderPlace(box, slot), taken->kept);
  return std::move(taken->picture);
}

bool PictureTable::BoxHasPicture(int box) {
  if (box < 1 || box > keys::kBoxCount || usable_[box - 1] == 0) return false;
  std::vector<int> jobs;
  for (int s = 1; s <= keys::kSlotsPerBox; ++s) {
    const int index = Index(box, s);
    const Slot& slot = slots_[index];
    if (slot.kind == Kind::kNotDecoded) return true;
    if (slot.kind == Kind::kFolder && FolderUsable(index)) return true;
    if (slot.kind == Kind::kDecoded) jobs.push_back(slot.job);
  }
  if (queue_->WaitForAnyDecoded(jobs) >= 0) return true;
  for (int job : jobs) Lose(slot_of_job_[job]);
  return false;
}

std::vector<int> PictureTable::Collect() {
  for (int job : queue_->Failed()) Lose(slot_of_job_[job]);
  for (int index = 0; index < 48; ++index) {
    if (slots_[index].kind != Kind::kFolder || !FolderUsable(index)) continue;
    if (std::optional<std::string> kept = feeds_[index]->TakeLateKept())
      settings_.Write(keys::FolderPlace(index / 12 + 1, index % 12 + 1), *kept);
  }
  std::vector<int> boxes;
  boxes.swap(switched_off_);
  return boxes;
}

void PictureTable::WaitAll() {
  queue_->WaitAll();
  for (auto& feed : feeds_)
    if (feed) feed->WaitSettled();
}

std::size_t PictureTable::PictureBytes() const {
  std::size_t bytes = queue_->PictureBytes();
  for (const auto& feed : feeds_)
    if (feed) bytes += feed->PictureBytes();
  return bytes;
}

bool PictureTable::FolderUsable(int index) {
  if (slots_[index].lost) return false;
  if (!feeds_[index]->exhausted()) return true;
  Lose(index);
  return false;
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
