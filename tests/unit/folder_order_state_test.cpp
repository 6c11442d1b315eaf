#include "show/folder_order_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace tessmoor {
namespace {

const FolderOrderState kByName{0x0123456789abcdefull, NameOrderPlace{0xfedcba9876543210ull, 0x1ull, 4294967295u}};
const FolderOrderState kShuffled{0x1e895f800ee6473cull, ShuffledPlace{0x3fffffffffffffffull, 0x0ull}};
const std::string kByNameText = "1 N 0123456789abcdef fedcba9876543210 0000000000000001 4294967295";
const std::string kShuffledText = "1 S 1e895f800ee6473c 3fffffffffffffff 0000000000000000";

TEST(FolderOrderState, WritesOneShortAsciiLinePerOrder) {
  EXPECT_EQ(FormatFolderOrderState(kByName), kByNameText);
  EXPECT_EQ(FormatFolderOrderState(kShuffled), kShuffledText);
  EXPECT_EQ(FormatFolderOrderState({7, NameOrderPlace{1, 2, 0}}),
            "1 N 0000000000000007 0000000000000001 0000000000000002 0");
}

TEST(FolderOrderState, ReadsBackWhatItWrote) {
  EXPECT_EQ(ParseFolderOrderState(kByNameText), kByName);
  EXPECT_EQ(ParseFolderOrderState(kShuffledText), kShuffled);
  EXPECT_EQ(ParseFolderOrderState(kByNameText)->kind(), FolderOrderKind::kByName);
  EXPECT_EQ(ParseFolderOrderState(kShuffledText)->kind(), FolderOrderKind::kShuffled);
}

TEST(FolderOrderState, RefusesEveryTextItDoesNotWrite) {
  const std::string fp = "0123456789abcdef";
  for (const std::string& text : std::vector<std::string>{
           "", "1", "1 N", "1 S", "0", "S", "2 S " + fp + " " + fp + " " + fp,  // a later version
           "01 S " + fp + " " + fp + " " + fp, "1 S " + fp + " " + fp,         // a field missing
           "1 S " + fp + " " + fp + " " + fp + " 0", "1 N " + fp + " " + fp + " " + fp,
           "1 N " + fp + " " + fp + " " + fp + " 0 0", "1 X " + fp + " " + fp + " " + fp,
           "1 s " + fp + " " + fp + " " + fp, "1 S 0123456789ABCDEF " + fp + " " + fp,
           "1 S 0123456789abcde " + fp + " " + fp, "1 S 0123456789abcdef0 " + fp + " " + fp,
           "1 S 0123456789abcdeg " + fp + " " + fp, "1 S " + fp + "  " + fp + " " + fp,
           " 1 S " + fp + " " + fp + " " + fp, "1 S " + fp + " " + fp + " " + fp + " ",
           "1 S " + fp + " " + fp + " " + fp + "\n", "1\tS " + fp + " " + fp + " " + fp,
           "1 N " + fp + " " + fp + " " + fp + " 01", "1 N " + fp + " " + fp + " " + fp + " 4294967296",
           "1 N " + fp + " " + fp + " " + fp + " -1", "1 N " + fp + " " + fp + " " + fp + " +1",
           "1 N " + fp + " " + fp + " " + fp + " ", std::string("1 S ") + '\0' + fp.substr(1) + " " + fp + " " + fp,
           "1 S ０123456789abcdef " + fp + " " + fp}) {
    EXPECT_FALSE(ParseFolderOrderState(text)) << text;
  }
}

TEST(FolderOrderState, AcceptsNoTextButItsOwnCanonicalLines) {
  // Texts near the format (the valid lines with characters changed, added or taken away) and
  // random bytes: whatever parses must be exactly what the writer writes for it.
  std::mt19937 random(3);
  const std::string alphabet = "0123456789abcdefABSN -\n\xFF";
  int accepted = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text = (round % 2 == 0) ? kByNameText : kShuffledText;
    for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
      const std::size_t at = random() % (text.size() + 1);
      const char c = alphabet[random() % alphabet.size()];
      switch (random() % 3) {
        case 0: if (at < text.size()) text[at] = c; break;
        case 1: text.insert(text.begin() + static_cast<std::ptrdiff_t>(at), c); break;
        default: if (at < text.size()) text.erase(at, 1); break;
      }
    }
    if (round % 5 == 0) {
      text.resize(random() % 80);
      for (char& c : text) c = static_cast<char>(random());
    }
    if (const auto state = ParseFolderOrderState(text)) {
      ++accepted;
      EXPECT_EQ(FormatFolderOrderState(*state), text);
    }
  }
  EXPECT_GT(accepted, 0);  // the loop did reach valid texts, so the check above ran
}

TEST(FolderOrderState, OrderFlagOneIsNameOrderAndEverythingElseShuffles) {
  EXPECT_EQ(FolderOrderFromFlag("1"), FolderOrderKind::kByName);
  for (const char* flag : {"2", "", "0", "3", " 1", "1 ", "01", "１"})
    EXPECT_EQ(FolderOrderFromFlag(flag), FolderOrderKind::kShuffled) << flag;
}

TEST(FolderOrderHashes, KeepTheirValuesSoThatKeptPlacesStayValid) {
  EXPECT_EQ(FolderFingerprint("C:\\Photos"), 0x1e895f800ee6473cull);
  EXPECT_EQ(FolderFingerprint("D:\\写真"), 0xece6b82d4f73a550ull);
  EXPECT_EQ(NameHash("2023\\img10.jpg"), 0x742ddeb392a6141aull);
  EXPECT_EQ(ShuffleKey(12345, 0x742ddeb392a6141aull), 0xe6ecc7b59f937402ull);
}

TEST(FolderOrderHashes, FingerprintIgnoresCaseSlashesAndTrailingSeparators) {
  const std::uint64_t photos = FolderFingerprint("C:\\Photos");
  for (const char* same : {"c:\\photos", "C:\\PHOTOS\\", "c:/photos/", "C:\\Photos\\\\"})
    EXPECT_EQ(FolderFingerprint(same), photos) << same;
  for (const char* other : {"C:\\Photos2", "C:\\Photo", "D:\\Photos", "C:\\Photos\\2023", ""})
    EXPECT_NE(FolderFingerprint(other), photos) << other;
  EXPECT_EQ(FolderFingerprint("D:\\写真\\"), FolderFingerprint("d:/写真"));
  EXPECT_NE(FolderFingerprint("D:\\写真"), FolderFingerprint("D:\\写真2"));
}

TEST(FolderOrderHashes, NameHashTellsCaseApartBecauseTheListingKeepsIt) {
  EXPECT_NE(NameHash("a.jpg"), NameHash("A.jpg"));
  EXPECT_NE(NameHash("a\\b.jpg"), NameHash("a/b.jpg"));
}

TEST(FolderOrderHashes, EachSeedGivesDistinctKeysInItsOwnOrder) {
  std::vector<std::uint64_t> names;
  for (int i = 0; i < 1000; ++i) names.push_back(NameHash("img" + std::to_string(i) + ".jpg"));
  auto order = [&](std::uint64_t seed) {
    std::vector<std::uint64_t> sorted = names;
    std::sort(sorted.begin(), sorted.end(),
              [&](std::uint64_t a, std::uint64_t b) { return ShuffleKey(seed, a) < ShuffleKey(seed, b); });
    std::set<std::uint64_t> keys;
    for (const std::uint64_t name : names) keys.insert(ShuffleKey(seed, name));
    EXPECT_EQ(keys.size(), names.size());
    return sorted;
  };
  const std::vector<std::uint64_t> first = order(1), second = order(2);
  EXPECT_NE(first, second);
  EXPECT_NE(first, order(0));
  // Not a shifted copy of the other order: few pictures keep their neighbour.
  int same_neighbour = 0;
  for (std::size_t i = 0; i + 1 < first.size(); ++i) {
    const auto at = std::find(second.begin(), second.end(), first[i]);
    if (at + 1 != second.end() && *(at + 1) == first[i + 1]) ++same_neighbour;
  }
  EXPECT_LT(same_neighbour, 10);
}

}  // namespace
}  // namespace tessmoor
