#include "tests/support/fakes.h"

#include <algorithm>

#include "platform/text.h"
#include "setup/folder_browser_model.h"

namespace tessmoor::testing {

StoredValue MemoryStore::Read(std::string_view key) {
  ++reads_;
  if (not_text_.count(std::string(key)) != 0) return {StoredValue::Kind::kNotText, {}};
  auto it = values_.find(std::string(key));
  if (it == values_.end()) return {};
  return {StoredValue::Kind::kText, it->second};
}

WriteResult MemoryStore::WriteString(std::string_view key, std::string_view value) {
  ++attempts_;
  if (fail_writes || attempts_ == fail_attempt) return {fail_error};
  Set(std::string(key), std::string(value));
  writes_.emplace_back(std::string(key), std::string(value));
  return {};
}

std::optional<std::string> MemoryStore::Get(const std::string& key) const {
  auto it = values_.find(key);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> MemoryStore::WrittenKeys() const {
  std::vector<std::string> keys;
  for (const auto& w : writes_) keys.push_back(w.first);
  return keys;
}

bool FakeFileSystem::FileExists(std::string_view path) {
  return !path.empty() && files_.count(std::string(path)) != 0;
}

std::optional<std::vector<std::uint8_t>> FakeFileSystem::ReadFile(std::string_view path,
                                                                   std::size_t max_bytes) {
  auto it = files_.find(std::string(path));
  if (it == files_.end() || it->second.size() > max_bytes) return std::nullopt;
  return it->second;
}

std::string FakeFileSystem::Key(std::string_view path) {
  std::string key = LowerCase(path);
  while (key.size() > 3 && key.back() == '\\') key.pop_back();
  return key;
}

std::optional<std::string> FakeFileSystem::FullPath(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::string path(text);
  std::replace(path.begin(), path.end(), '/', '\\');
  if (path.size() == 2 && path[1] == ':') {
    const bool on_drive = LowerCase(current_.substr(0, 1)) == LowerCase(path.substr(0, 1));
    return on_drive ? current_ : path + "\\";
  }
  const std::string full = RootLength(path) > 2 ? path : JoinPath(current_, path);
  const std::size_t root = RootLength(full);
  std::vector<std::string> parts;
  for (std::size_t at = root; at <= full.size();) {
    const std::size_t end = std::min(full.find('\\', at), full.size());
    const std::string part = full.substr(at, end - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  std::string out = full.substr(0, root);
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "\\" : "") + parts[i];
  if (full.back() == '\\' && !parts.empty()) out += '\\';
  return out;
}

void FakeFileSystem::AddFolder(const std::string& path) {
  const std::size_t root = RootLength(path);
  std::string folder = path;
  while (folder.size() > root && folder.back() == '\\') folder.pop_back();
  while (true) {
    folders_.emplace(Key(folder), folder);
    if (folder.size() <= root) break;
    folder = folder.substr(0, std::max(folder.find_last_of('\\'), root));
  }
}

bool FakeFileSystem::FolderExists(std::string_view path) { return folders_.count(Key(path)) != 0; }

std::optional<std::vector<FolderEntry>> FakeFileSystem::ListFolder(std::string_view path) {
  ++listings_;
  const std::string folder = Key(path);
  if (folders_.count(folder) == 0 || unlistable_.count(folder) != 0) return std::nullopt;
  const std::string prefix = folder.back() == '\\' ? folder : folder + "\\";
  auto in_folder = [&](const std::string& key) {
    return key.size() > prefix.size() && key.compare(0, prefix.size(), prefix) == 0 &&
           key.find('\\', prefix.size()) == std::string::npos;
  };
  auto name_of = [](const std::string& spelt) { return spelt.substr(spelt.find_last_of('\\') + 1); };
  std::vector<FolderEntry> entries;
  for (const auto& [file, bytes] : files_) {
    const std::string key = Key(file);
    if (in_folder(key)) entries.push_back({name_of(file), false, hidden_.count(key) != 0});
  }
  for (const auto& [key, spelt] : folders_) {
    if (in_folder(key)) entries.push_back({name_of(spelt), true, hidden_.count(key) != 0});
  }
  return entries;
}

bool FakeFileSystem::NameBefore(std::string_view a, std::string_view b) {
  const std::string la = LowerCase(a);
  const std::string lb = LowerCase(b);
  return la != lb ? la < lb : a < b;
}

}  // namespace tessmoor::testing
