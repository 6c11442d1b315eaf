#include "setup/win32/music_setup_form.h"

#include <commdlg.h>

#include <cwchar>
#include <utility>

#include "platform/win32/utf.h"
#include "setup/win32/music_glyphs.h"

namespace tessmoor {
namespace {

// Every slot's row is 40 pixels below the one before; positions at 96 DPI.
constexpr int RowTop(int slot) { return 8 + 40 * (slot - 1); }
constexpr int kCheckBoxLeft = 8;
constexpr int kCheckBoxHeight = 17;
constexpr int CheckBoxWidth(int slot) { return slot >= 4 ? 193 : 185; }
constexpr win32::ControlBounds OpenBounds(int slot) { return {208, RowTop(slot), 25, 25}; }
constexpr win32::ControlBounds EraseBounds(int slot) { return {240, RowTop(slot), 25, 25}; }
constexpr win32::ControlBounds PlayBounds(int slot) { return {272, RowTop(slot), 33, 25}; }
constexpr win32::ControlBounds kStopBounds{272, 208, 33, 25};
constexpr win32::ControlBounds kSaveBounds{40, 216, 75, 25};
constexpr win32::ControlBounds kCancelBounds{128, 216, 73, 25};
constexpr int kGlyphSide = 16;

constexpr DWORD kPushButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kGlyphButton = WS_TABSTOP | BS_PUSHBUTTON | BS_ICON;

// The slot (1..5) of control `id` in the group whose ids start after `base`, or 0.
int SlotOf(int id, int base) {
  const int slot = id - base;
  return slot >= 1 && slot <= kMusicDialogSlots ? slot : 0;
}

void SetIcon(const win32::Button& button, HICON icon) {
  SendMessageW(button.hwnd(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

// The filter list as the open dialog takes it: description and pattern pairs, each ended by a
// null, the whole list by a second one.
std::wstring FilterList() {
  std::wstring list;
  for (const MusicFileFilter& filter : kMusicFileFilters) {
    list += win32::Widen(filter.description);
    list.push_back(L'\0');
    list += win32::Widen(filter.pattern);
    list.push_back(L'\0');
  }
  list.push_back(L'\0');
  return list;
}

}  // namespace

TMusicSetUpForm::TMusicSetUpForm(Settings& settings, FileSystem& files, HWND owner,
                                 std::shared_ptr<MusicPaths> paths)
    : settings_(settings), files_(files), paths_(std::move(paths)) {
  if (!paths_) paths_ = std::make_shared<MusicPaths>();
  win32::FormSpec params;
  params.caption = win32::Widen(kMusicDialogCaption);
  params.owner = owner;
  params.font_pixels = 12;
  CreateForm(params);
  // The design gives the outer size; the client area is what the frame leaves of it.
  const win32::DpiScale s = scale();
  SetWindowPos(hwnd(), nullptr, s(kMusicDialogLeft), s(kMusicDialogTop), s(kMusicDialogWidth),
               s(kMusicDialogHeight), SWP_NOZORDER | SWP_NOACTIVATE);
  CreateControls();
  FormCreate();
}

TMusicSetUpForm::~TMusicSetUpForm() {
  // The preview's device goes before the window its notifications are sent to.
  if (model_) model_->FormClose();
  model_.reset();
  player_.reset();
  Destroy();
}

void TMusicSetUpForm::CreateControls() {
  const win32::DpiScale s = scale();
  play_glyph_ = win32::DrawLoudspeakerGlyph(win32::LoudspeakerGlyph::kPlay, s(kGlyphSide));
  stop_glyph_ = win32::DrawLoudspeakerGlyph(win32::LoudspeakerGlyph::kStop, s(kGlyphSide));

  for (int n = 1; n <= kMusicDialogSlots; ++n) {
    const int i = n - 1;
    check_boxes_[i] = win32::Button(
        AddControl(L"BUTTON", L"", WS_TABSTOP | BS_AUTOCHECKBOX,
                   {kCheckBoxLeft, RowTop(n), CheckBoxWidth(n), kCheckBoxHeight}, kCheckBoxId + n));
    open_buttons_[i] =
        win32::Button(AddControl(L"BUTTON", L"....", kPushButton, OpenBounds(n), kOpenButtonId + n));
    AddControl(L"BUTTON", L"X", kPushButton, EraseBounds(n), kEraseButtonId + n);
    play_buttons_[i] =
        win32::Button(AddControl(L"BUTTON", L"", kGlyphButton, PlayBounds(n), kPlayButtonId + n));
    SetIcon(play_buttons_[i], play_glyph_.get());
  }
  stop_button_ = win32::Button(AddControl(L"BUTTON", L"", kGlyphButton, kStopBounds, kStopButtonId));
  SetIcon(stop_button_, stop_glyph_.get());
  AddControl(L"BUTTON", L"設定の保存", kPushButton, kSaveBounds, kSaveButtonId);
  AddControl(L"BUTTON", L"キャンセル", kPushButton, kCancelBounds, kCancelButtonId);
}

void TMusicSetUpForm::FormCreate() {
  player_ = std::make_unique<win32::MciPlayer>(hwnd());
  model_ = std::make_unique<MusicDialogModel>(settings_, files_, *player_, paths_, this);
}

void TMusicSetUpForm::Show() {
  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
}

void TMusicSetUpForm::OnCommand(int id, int code, HWND control) {
  if (!model_ || code != BN_CLICKED) return;
  if (const int n = SlotOf(id, kCheckBoxId)) {
    model_->MusicNameCheckBoxClick(n, win32::Button(control).Checked());
  } else if (const int n = SlotOf(id, kOpenButtonId)) {
    model_->MusicNoOpenDialogButtonClick(n);
  } else if (const int n = SlotOf(id, kEraseButtonId)) {
    model_->MusicNoOpenDialogEraseButtonClick(n);
  } else if (const int n = SlotOf(id, kPlayButtonId)) {
    model_->MusicPlayNoBitBtnClick(n);
  } else if (id == kStopButtonId) {
    model_->MusicStopBitBtnClick();
  } else if (id == kSaveButtonId) {
    model_->MusicRegFileSaveButtonClick();
  } else if (id == kCancelButtonId) {
    model_->CancelButtonClick();
  }
}

void TMusicSetUpForm::OnCloseRequest() {
  if (model_) model_->FormClose();
  HideWindow();
}

LRESULT TMusicSetUpForm::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == MM_MCINOTIFY) {
    if (const auto kind = win32::MediaNotifyFromMci(wparam); kind && model_)
      model_->MusicMediaPlayerNotify(*kind, win32::DeviceIdFromMci(lparam));
    return 0;
  }
  return Form::OnMessage(message, wparam, lparam);
}

void TMusicSetUpForm::ShowCaption(int slot, std::string_view caption) {
  check_boxes_[slot - 1].SetText(win32::Widen(caption));
}

void TMusicSetUpForm::ShowTicked(int slot, bool ticked) { check_boxes_[slot - 1].SetChecked(ticked); }

void TMusicSetUpForm::ShowButtons(const MusicButtonStates& states) {
  for (int i = 0; i < kMusicDialogSlots; ++i) {
    play_buttons_[i].Enable(states.play_enabled);
    open_buttons_[i].Enable(states.open_enabled);
  }
  stop_button_.Enable(states.stop_enabled);
}

std::string TMusicSetUpForm::ChooseMusicFile() {
  const std::wstring filters = FilterList();
  std::wstring file(32768, L'\0');
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = hwnd();
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = last_folder_.empty() ? nullptr : last_folder_.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&dialog)) return {};
  file.resize(std::wcslen(file.c_str()));
  if (dialog.nFileOffset > 0 && dialog.nFileOffset <= file.size())
    last_folder_ = file.substr(0, dialog.nFileOffset);
  return win32::Narrow(file);
}

void TMusicSetUpForm::HideWindow() { ShowWindow(hwnd(), SW_HIDE); }

}  // namespace tessmoor
