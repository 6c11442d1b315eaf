#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace tessmoor {

// The order people expect file names in, the one Explorer lists a folder in:
//   - letters compare without case, for every script LowerCase folds ("a" < "B" < "c");
//   - a run of digits compares by its value, however long ("img2" < "img10"); full-width digits
//     (U+FF10..U+FF19) are digits too, so "写真２" < "写真１０" as "photo2" < "photo10";
//   - spaces and ASCII punctuation come before numbers, numbers before letters, letters before
//     every other script ("_a" < "1a" < "a" < "あ"); within each kind, the folded code point;
//   - a name that is the start of another comes first ("img" < "img1" < "img1a").
// Names equal by those rules ("file1", "file01", "FILE1") are told apart so that the order is
// total and the same on every run: the first number written with more leading zeros comes first
// ("file01" < "file1"), then the raw bytes ("FILE1" < "file1"). Only 0 means equal bytes.
// Bytes that are not valid UTF-8 each count as one character after every code point; names are
// only read, never changed.
//
// Returns <0, 0 or >0 like strcmp.
int CompareNamesNaturally(std::string_view a, std::string_view b);

// Relative paths ("2023\\kyoto\\img10.jpg"; '\\' and '/' both separate) in the order of a walk of
// the folder: a folder's own files first, in natural order, then each subfolder in natural order
// of the folder names, its files and subfolders the same way. So "z.jpg" < "a\\b.jpg", and the
// first path of a folder is its own first picture whether its subfolders are included or not.
// The tie-breaks are the ones of CompareNamesNaturally, over the whole path.
int ComparePathsNaturally(std::string_view a, std::string_view b);

// Sorts into ComparePathsNaturally's order, working out each path's place in it once rather than
// at every comparison: the way to sort a folder's listing.
void SortPathsNaturally(std::vector<std::string>& paths);

// For a few paths; every call works the order out again.
struct NaturalPathLess {
  bool operator()(std::string_view a, std::string_view b) const { return ComparePathsNaturally(a, b) < 0; }
};

}  // namespace tessmoor
