#include "show/folder_kept.h"

#include <vector>

namespace tessmoor {
namespace {

// A path that names a file inside the folder: relative, without a step up.
bool InsideFolder(std::string_view path) {
  if (path.empty() || path.front() == '\\' || path.front() == '/' || path.find(':') != std::string_view::npos)
    return false;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
    const std::string_view part = path.substr(start, end - start);
    if (part.empty() || part == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

std::string FormatFolderKept(const FolderKept& kept) {
  std::string text = kept.place;
  if (kept.next) text += "\n" + kept.next->state + "\n" + kept.next->path;
  return text;
}

FolderKept ParseFolderKept(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  if (lines.size() == 1) return {std::string(lines[0]), std::nullopt};
  if (lines.size() != 3 || (!lines[0].empty() && !ParseFolderOrderState(lines[0])) ||
      !ParseFolderOrderState(lines[1]) || !InsideFolder(lines[2])) {
    return {};
  }
  return {std::string(lines[0]), FolderPick{std::string(lines[2]), std::string(lines[1])}};
}

}  // namespace tessmoor

namespace tessmoor {

std::optional<std::string> KeptForNewFolder(std::string_view folder, std::vector<std::string> pictures,
                                            FolderOrderKind order, RandomSource& random) {
  const FolderListing listing(std::move(pictures), order == FolderOrderKind::kByName ? FolderListing::Order::kNatural
                                                                                      : FolderListing::Order::kAsGiven);
  std::optional<FolderPick> first = NextInFolder(folder, listing, order, "", random);
  if (!first) return std::nullopt;
  return FormatFolderKept({"", std::move(first)});
}

}  // namespace tessmoor
