// The release as a user receives it, read from the built module without running it: the name
// the screen-saver list shows, the version block, the icon in every size and the manifest.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "setup/version_dialog_model.h"
#include "tests/e2e/harness.h"

namespace tessmoor::e2e {
namespace {

class ReleaseModule : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW(GetOptions().module.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << "cannot open the module as a resource file (" << GetLastError() << ")";
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }
  std::string_view Resource(LPCWSTR type, LPCWSTR name) const {
    HRSRC found = FindResourceW(module_, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module_, found);
    return {static_cast<const char*>(LockResource(loaded)), SizeofResource(module_, found)};
  }
  HMODULE module_ = nullptr;
};

TEST_F(ReleaseModule, StringOneIsTheNameTheScreenSaverListShows) {
  wchar_t text[64] = {};
  ASSERT_GT(LoadStringW(module_, 1, text, 64), 0);
  EXPECT_STREQ(text, L"Tessmoor");
}

std::wstring VersionString(const std::vector<char>& block, const std::wstring& translation, const wchar_t* name) {
  void* value = nullptr;
  UINT length = 0;
  const std::wstring query = L"\\StringFileInfo\\" + translation + L"\\" + name;
  if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

TEST_F(ReleaseModule, VersionBlockGivesOneTwoTwoInJapaneseAndEnglish) {
  const std::wstring path = GetOptions().module;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no VERSIONINFO";
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, (1u << 16) | 2u);
  EXPECT_EQ(fixed->dwFileVersionLS, 2u << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, (1u << 16) | 2u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  struct Translation { WORD language, code_page; };
  Translation* translations = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &length));
  ASSERT_EQ(length, 2 * sizeof(Translation));
  EXPECT_EQ(translations[0].language, 0x0411);
  EXPECT_EQ(translations[0].code_page, 1200);
  EXPECT_EQ(translations[1].language, 0x0409);
  EXPECT_EQ(translations[1].code_page, 1200);

  for (const wchar_t* translation : {L"041104B0", L"040904B0"}) {
    SCOPED_TRACE(Narrow(translation));
    EXPECT_EQ(VersionString(block, translation, L"ProductName"), L"Tessmoor");
    EXPECT_EQ(VersionString(block, translation, L"FileVersion"), L"1.2.2.0");
    EXPECT_EQ(VersionString(block, translation, L"ProductVersion"), L"1.2.2");
    EXPECT_EQ(VersionString(block, translation, L"OriginalFilename"), L"Tessmoor.scr");
    EXPECT_NE(VersionString(block, translation, L"FileDescription").find(L"Tessmoor"), std::wstring::npos);
    EXPECT_NE(VersionString(block, translation, L"CompanyName"), L"<missing>");
    EXPECT_NE(VersionString(block, translation, L"LegalCopyright"), L"<missing>");
  }
  // The version dialog shows the same version as the file's properties.
  EXPECT_EQ(Wide(kProductTitle), L"Tessmoor Ver" + VersionString(block, L"040904B0", L"ProductVersion"));
}

#pragma pack(push, 2)
struct IconDirEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
struct IconDir {
  WORD reserved, type, count;
  IconDirEntry entries[1];
};
#pragma pack(pop)

TEST_F(ReleaseModule, IconOneHoldsEverySizeTheShellAsksForAndEachLoads) {
  const std::string_view group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  ASSERT_GE(group.size(), 6u) << "no icon group 1";
  const auto* dir = reinterpret_cast<const IconDir*>(group.data());
  ASSERT_EQ(dir->type, 1);
  ASSERT_EQ(group.size(), 6 + dir->count * sizeof(IconDirEntry));
  std::set<int> sizes;
  for (int i = 0; i < dir->count; ++i) {
    const IconDirEntry& e = dir->entries[i];
    const int side = e.width == 0 ? 256 : e.width;
    SCOPED_TRACE(side);
    EXPECT_EQ(e.width, e.height);
    EXPECT_EQ(e.bit_count, 32) << "every size has an alpha channel";
    sizes.insert(side);
    const std::string_view image = Resource(RT_ICON, MAKEINTRESOURCEW(e.id));
    ASSERT_EQ(image.size(), e.bytes);
    if (side == 256) {
      EXPECT_EQ(image.substr(0, 4), std::string_view("\x89PNG", 4));
    }
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image.data())),
                                          static_cast<DWORD>(image.size()), TRUE, 0x00030000, side, side, 0);
    EXPECT_NE(icon, nullptr) << "the system cannot load this size";
    if (icon) DestroyIcon(icon);
  }
  EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64, 96, 128, 256}));
}

// The text of the first element named `name`, whatever its namespace prefix.
std::string ElementText(std::string_view xml, std::string_view name) {
  for (std::size_t at = xml.find(name); at != std::string_view::npos; at = xml.find(name, at + 1)) {
    const char before = xml[at - 1];
    if ((before != '<' && before != ':') || (xml[at + name.size()] != '>' && xml[at + name.size()] != ' ')) continue;
    const std::size_t open = xml.find('>', at);
    const std::size_t close = xml.find('<', open);
    return std::string(xml.substr(open + 1, close - open - 1));
  }
  return "<missing>";
}

TEST_F(ReleaseModule, ManifestAsksForCommonControlsSixPerMonitorDpiAndTheWindowsVersions) {
  const std::string_view manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
  ASSERT_FALSE(manifest.empty()) << "no manifest 1";
  const std::string xml(manifest);
  EXPECT_NE(xml.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  // Windows 10 1607 and later read dpiAwareness; 8.1 reads "true/pm"; Vista to 8 take "true".
  EXPECT_EQ(ElementText(xml, "dpiAwareness"), "PerMonitorV2, PerMonitor");
  EXPECT_EQ(ElementText(xml, "dpiAware"), "true/pm");
  for (const char* os : {"8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a", "1f676c76-80e1-4239-95bb-83d0f6d0da78",
                         "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38", "35138b9a-5d96-4fbd-8e2d-a2440225f93a",
                         "e2011457-1546-43c5-a5fe-008deee3d3f0"})
    EXPECT_NE(xml.find(std::string("<supportedOS Id=\"{") + os + "}\"/>"), std::string::npos) << os;
  EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
}

}  // namespace
}  // namespace tessmoor::e2e
