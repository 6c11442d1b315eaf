#include "platform/natural_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <cstddef>
#include <random>
#include <string>
#include <vector>

namespace tessmoor {
namespace {

int Sign(int v) { return (v > 0) - (v < 0); }

// Every name of `ascending` compares below every later one, in both directions.
template <typename Compare>
void ExpectAscending(const std::vector<std::string>& ascending, Compare compare) {
  for (std::size_t i = 0; i < ascending.size(); ++i) {
    EXPECT_EQ(compare(ascending[i], ascending[i]), 0) << ascending[i];
    for (std::size_t j = i + 1; j < ascending.size(); ++j) {
      EXPECT_LT(compare(ascending[i], ascending[j]), 0) << ascending[i] << " before " << ascending[j];
      EXPECT_GT(compare(ascending[j], ascending[i]), 0) << ascending[j] << " after " << ascending[i];
    }
  }
}

struct OrderCase {
  const char* what;
  std::vector<std::string> ascending;
};

void PrintTo(const OrderCase& c, std::ostream* out) { *out << c.what; }

class NaturalNameOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(NaturalNameOrder, ListsNamesTheWayExplorerUsersExpect) {
  ExpectAscending(GetParam().ascending, CompareNamesNaturally);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NaturalNameOrder,
    ::testing::Values(
        OrderCase{"numbers by value", {"img1", "img2", "img9", "img10", "img11", "img100"}},
        OrderCase{"case is ignored", {"a", "B", "c", "D.jpg", "e"}},
        OrderCase{"case ignored next to numbers", {"IMG2", "img10", "Img11"}},
        OrderCase{"a shorter name that starts another comes first", {"", "img", "img1", "img1a", "img1b", "img2"}},
        OrderCase{"more leading zeros first among equal values",
                  {"file001", "file01", "file1", "file2", "file010", "file10"}},
        OrderCase{"zeros alone", {"00", "0", "1", "01a", "1a"}},
        OrderCase{"then the raw bytes", {"file01", "FILE1", "File1", "file1"}},
        OrderCase{"space and punctuation before numbers", {"x 2", "x 10", "x-1", "x.jpg", "x1", "x10", "xa"}},
        OrderCase{"symbols, then numbers, then letters, then other scripts", {" a", "_a", "~a", "1a", "a", "z", "あ"}},
        OrderCase{"numbers longer than any integer",
                  {"a18446744073709551615", "a18446744073709551616", "a99999999999999999999",
                   "a0100000000000000000000", "a100000000000000000000", "a100000000000000000001"}},
        OrderCase{"several numbers in one name", {"2023-1-9", "2023-1-10", "2023-2-1", "2023-10-1", "2024-1-1"}},
        OrderCase{"full-width digits are numbers", {"写真２", "写真10", "写真１０", "写真11", "写真ａ"}},
        OrderCase{"Japanese by code point", {"あめ", "あめ2", "あめ10", "いぬ", "カメラ", "写真"}},
        OrderCase{"Cyrillic and Greek folded", {"ΑΘΗΝΑ", "βόλος", "минск", "Москва", "омск"}},
        OrderCase{"Latin-1 folded, after ASCII letters", {"zebra", "École", "été", "Ÿ"}},
        OrderCase{"emoji after the scripts", {"あ", "🌸", "🌸2", "🌸10", "😀"}},
        OrderCase{"broken UTF-8 bytes after every character", {"a", "a😀", "a\xE3\x81", "a\xFF", "a\xFF" "1"}}));

TEST(NaturalNameOrder, FoldsTheLettersLowerCaseFolds) {
  EXPECT_LT(CompareNamesNaturally("ÄPFEL", "äpfel2"), 0);
  EXPECT_LT(CompareNamesNaturally("ＡＢＣ1", "ａｂｃ2"), 0);
  EXPECT_LT(CompareNamesNaturally("İ9", "i10"), 0);
  EXPECT_GT(CompareNamesNaturally("ΑΘΗΝΑ10", "αθηνα9"), 0);
  EXPECT_LT(CompareNamesNaturally("МОСКВА9", "москва10"), 0);
}

// Names drawn from the characters the rules treat differently, to check that the comparison is a
// total order whatever it meets: antisymmetric, 0 only for equal bytes, transitive.
std::vector<std::string> RandomNames(std::size_t count, std::uint32_t seed) {
  static const std::vector<std::string> pieces = {
      "a", "A", "b", "Z", "0", "00", "1", "9", "10", "０", "１", "９", " ", "_", ".", "-",
      "\\", "/", "é", "É", "あ", "写", "я", "Я", "😀", "\xFF", "\xE3\x81", "x"};
  std::mt19937 random(seed);
  std::vector<std::string> names;
  for (std::size_t n = 0; n < count; ++n) {
    std::string name;
    const std::size_t length = random() % 6;
    for (std::size_t k = 0; k < length; ++k) name += pieces[random() % pieces.size()];
    names.push_back(name);
  }
  return names;
}

template <typename Compare>
void ExpectTotalOrder(const std::vector<std::string>& names, Compare compare) {
  for (const std::string& a : names) {
    for (const std::string& b : names) {
      const int ab = Sign(compare(a, b));
      ASSERT_EQ(ab, -Sign(compare(b, a))) << a << " | " << b;
      ASSERT_EQ(ab == 0, a == b) << a << " | " << b;
      if (ab >= 0) continue;
      for (const std::string& c : names) {
        if (compare(b, c) < 0) {
          ASSERT_LT(compare(a, c), 0) << a << " < " << b << " < " << c;
        }
      }
    }
  }
}

TEST(NaturalNameOrder, IsATotalOrderOverMixedNames) {
  ExpectTotalOrder(RandomNames(90, 7), CompareNamesNaturally);
}

TEST(NaturalPathOrder, IsATotalOrderOverMixedPaths) {
  ExpectTotalOrder(RandomNames(90, 8), ComparePathsNaturally);
}

TEST(NaturalPathOrder, SortsAListingTheSameWhateverOrderItCameIn) {
  std::vector<std::string> names = RandomNames(400, 9);
  names.insert(names.end(), {"a01", "A1", "a1", "a001", "a1", "x\\y", "x/y", "x\\y"});  // ties and repeats
  std::vector<std::string> first = names;
  std::sort(first.begin(), first.end(), NaturalPathLess{});
  std::mt19937 random(10);
  for (int round = 0; round < 5; ++round) {
    std::shuffle(names.begin(), names.end(), random);
    std::vector<std::string> again = names;
    SortPathsNaturally(again);
    EXPECT_EQ(again, first);
  }
}

TEST(NaturalPathOrder, PutsAFoldersOwnFilesBeforeItsSubfolders) {
  ExpectAscending({"a2.jpg", "a10.jpg", "z.jpg",                       // the folder's own files
                   "2023\\b.jpg", "2023\\c\\a.jpg", "2023\\d\\a.jpg",  // then 2023, its files first
                   "a\\1.jpg", "A\\2.jpg", "a\\10.jpg",               // folder names without case
                   "sub\\a2.jpg", "sub\\a10.jpg", "sub\\x\\a1.jpg",
                   "sub2\\a.jpg", "sub10\\a.jpg", "写真\\a.jpg"},
                  ComparePathsNaturally);
  EXPECT_LT(ComparePathsNaturally("a2.jpg", "sub\\a10.jpg"), 0);
  EXPECT_LT(ComparePathsNaturally("zz.jpg", "a\\a.jpg"), 0);
}

TEST(NaturalPathOrder, TakesEitherSlashAsASeparator) {
  EXPECT_LT(ComparePathsNaturally("z.jpg", "a/b.jpg"), 0);
  EXPECT_LT(ComparePathsNaturally("a/b2.jpg", "a\\b10.jpg"), 0);
  // The same picture written both ways is still told apart, so that the order stays total.
  EXPECT_NE(ComparePathsNaturally("a/b.jpg", "a\\b.jpg"), 0);
}

TEST(NaturalPathOrder, ComparesAPlainNameLikeTheNameOrder) {
  const std::vector<std::string> names = RandomNames(60, 11);
  for (const std::string& a : names) {
    if (a.find_first_of("\\/") != std::string::npos) continue;
    for (const std::string& b : names) {
      if (b.find_first_of("\\/") != std::string::npos) continue;
      EXPECT_EQ(Sign(ComparePathsNaturally(a, b)), Sign(CompareNamesNaturally(a, b))) << a << " | " << b;
    }
  }
}

}  // namespace
}  // namespace tessmoor
