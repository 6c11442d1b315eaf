#include "setup/folder_browser_model.h"

#include <algorithm>

#include "platform/text.h"

namespace tessmoor {

namespace {

bool SameDrive(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  return a.size() >= 2 && b.size() >= 2 && a[1] == ':' && b[1] == ':' && upper(a[0]) == upper(b[0]);
}

std::string Child(const std::string& folder, std::string_view name) {
  return folder.back() == '\\' ? folder + std::string(name) : folder + '\\' + std::string(name);
}

// The length of the UTF-8 sequence that starts with byte `lead`.
std::size_t SequenceLength(char lead) {
  const auto b = static_cast<unsigned char>(lead);
  return b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

// One pattern against a whole name, both lower-cased already.
bool MatchesPattern(std::string_view name, std::string_view pattern) {
  while (!pattern.empty()) {
    if (pattern.front() == '*') {
      pattern.remove_prefix(1);
      for (std::size_t at = 0;;) {
        if (MatchesPattern(name.substr(at), pattern)) return true;
        if (at >= name.size()) return false;
        at = std::min(at + SequenceLength(name[at]), name.size());
      }
    }
    if (name.empty()) return false;
    const std::size_t length = SequenceLength(name.front());
    if (pattern.front() == '?') {
      pattern.remove_prefix(1);
    } else {
      if (pattern.substr(0, length) != name.substr(0, length)) return false;
      pattern.remove_prefix(std::min(length, pattern.size()));
    }
    name.remove_prefix(std::min(length, name.size()));
  }
  return name.empty();
}

}  // namespace

std::size_t RootLength(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') return path.size() >= 3 && path[2] == '\\' ? 3 : 2;
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    const std::size_t server_end = path.find('\\', 2);
    if (server_end == std::string_view::npos) return path.size();
    const std::size_t share_end = path.find('\\', server_end + 1);
    return share_end == std::string_view::npos ? path.size() : share_end + 1;
  }
  return 0;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask == "*.*") return true;
  const std::string lower_name = LowerCase(name);
  while (!mask.empty()) {
    while (!mask.empty() && mask.front() == ' ') mask.remove_prefix(1);
    const std::size_t end = std::min(mask.find(';'), mask.size());
    if (MatchesPattern(lower_name, LowerCase(mask.substr(0, end)))) return true;
    mask.remove_prefix(std::min(end + 1, mask.size()));
  }
  return false;
}

FolderBrowserModel::FolderBrowserModel(FileSystem& files, std::string mask)
    : fs_(files), mask_(std::move(mask)) {
  for (const Drive& drive : fs_.ListDrives()) {
    if (drive.root.size() < 2) continue;
    std::string text = LowerCase(drive.root.substr(0, 1)) + ":";
    if (!drive.label.empty()) text += " [" + drive.label + "]";
    drives_.push_back({drive.root, std::move(text)});
  }
}

std::string FolderBrowserModel::FullFolderPath(std::string_view folder) const {
  std::optional<std::string> resolved = fs_.FullPath(folder);
  if (!resolved) return {};
  std::string full = std::move(*resolved);
  std::replace(full.begin(), full.end(), '/', '\\');
  const std::size_t root = RootLength(full);
  if (root == 0) return {};
  while (full.size() > root && full.back() == '\\') full.pop_back();
  if (full.size() == root && full.back() != '\\') full += '\\';
  if (full[1] == ':' && full[0] >= 'a' && full[0] <= 'z') full[0] = static_cast<char>(full[0] - 'a' + 'A');
  return full;
}

bool FolderBrowserModel::OpenFolder(std::string_view folder) {
  std::string full = FullFolderPath(folder);
  if (full.empty() || !fs_.FolderExists(full)) return false;
  folder_ = std::move(full);
  const std::size_t root = RootLength(folder_);
  chain_.assign(1, folder_.substr(0, root));
  for (std::size_t at = root; at < folder_.size();) {
    std::size_t end = folder_.find('\\', at);
    if (end == std::string::npos) end = folder_.size();
    if (end > at) chain_.push_back(folder_.substr(at, end - at));
    at = end + 1;
  }
  List();
  return true;
}

void FolderBrowserModel::List() {
  std::vector<std::string> folders;
  files_.clear();
  if (const std::optional<std::vector<FolderEntry>> entries = fs_.ListFolder(folder_)) {
    for (const FolderEntry& entry : *entries) {
      if (entry.hidden || entry.name == "." || entry.name == "..") continue;
      if (entry.is_folder) {
        folders.push_back(entry.name);
      } else if (MatchesMask(entry.name, mask_)) {
        files_.push_back(entry.name);
      }
    }
  }
  Sort(folders);
  Sort(files_);
  rows_.clear();
  for (std::size_t i = 0; i < chain_.size(); ++i) rows_.push_back({chain_[i], static_cast<int>(i), true});
  for (std::string& name : folders) rows_.push_back({std::move(name), static_cast<int>(chain_.size()), false});
}

void FolderBrowserModel::Sort(std::vector<std::string>& names) const {
  std::sort(names.begin(), names.end(),
            [this](const std::string& a, const std::string& b) { return fs_.NameBefore(a, b); });
}

FolderBrowserModel::Outcome FolderBrowserModel::ChooseDrive(int index) {
  if (index < 0 || index >= static_cast<int>(drives_.size())) return Outcome::kUnchanged;
  const std::string& root = drives_[index].root;
  if (SameDrive(root, folder_)) return Outcome::kUnchanged;
  // "X:" alone names the folder the process last used on that drive.
  if (OpenFolder(root.substr(0, 2)) || OpenFolder(root)) return Outcome::kOpened;
  return Outcome::kRefused;
}

FolderBrowserModel::Outcome FolderBrowserModel::OpenRow(int index) {
  if (index < 0 || index >= static_cast<int>(rows_.size()) || index == current_row()) return Outcome::kUnchanged;
  return OpenFolder(PathOf(static_cast<std::size_t>(index))) ? Outcome::kOpened : Outcome::kRefused;
}

int FolderBrowserModel::drive_index() const {
  for (std::size_t i = 0; i < drives_.size(); ++i)
    if (SameDrive(drives_[i].root, folder_)) return static_cast<int>(i);
  return -1;
}

std::string FolderBrowserModel::PathOf(std::size_t index) const {
  if (index >= chain_.size()) return Child(folder_, rows_[index].name);
  std::string path = chain_[0];
  for (std::size_t i = 1; i <= index; ++i) path = Child(path, chain_[i]);
  return path;
}

}  // namespace tessmoor
