#include "setup/win32/settings_form.h"

#include <exception>

#include "platform/win32/utf.h"
#include "platform/win32/wic_decoder.h"
#include "setup/win32/settings_ids.h"

namespace tessmoor {

namespace {

using R = SettingsRole;

// The colour a tab control fills its page with (white under a visual style, the dialog colour
// without one), taken from the control's own drawing at `inside`.
COLORREF PageColour(HWND tab, POINT inside) {
  RECT r{};
  GetClientRect(tab, &r);
  win32::WindowDc screen(tab);
  win32::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
  win32::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), r.right, r.bottom));
  COLORREF colour = GetSysColor(COLOR_BTNFACE);
  if (!memory || !bitmap) return colour;
  win32::SelectScope selected(memory.get(), bitmap.get());
  FillRect(memory.get(), &r, GetSysColorBrush(COLOR_BTNFACE));
  SendMessageW(tab, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT | PRF_ERASEBKGND);
  const COLORREF drawn = GetPixel(memory.get(), inside.x, inside.y);
  return drawn == CLR_INVALID ? colour : drawn;
}

// A failure inside a handler is shown and the dialog goes on, as the user expects of a dialog.
template <class Fn>
void Guarded(HWND owner, Fn&& fn) {
  try {
    fn();
  } catch (const std::exception& e) {
    MessageBoxW(owner, win32::Widen(e.what()).c_str(), L"Tessmoor", MB_OK | MB_ICONERROR);
  }
}

std::optional<std::string_view> AsView(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  return std::string_view(*text);
}

std::optional<std::string> Narrowed(const std::optional<std::wstring>& text) {
  if (!text) return std::nullopt;
  return win32::Narrow(*text);
}

}  // namespace

TScrSetUpForm::TScrSetUpForm(KeyValueStore& store, FileSystem& files, HWND owner)
    : settings_(store), files_(files), decoder_(win32::MakeSystemPictureDecoder()) {
  picture_filters_ = PictureFileFilters(decoder_->Extensions());
  win32::BuildStyle style;
  style.first_id = kSettingsFirstControlId;
  style.labels_fit_captions = true;
  style.filled_group_boxes = true;
  BuildForm(SettingsDialogForm(), SettingsDialogControls(), owner, style);
  AddMenuBar();
  FillBoxTabs();
  StartBrowser();

  folder_previews_ = std::make_unique<FolderPreviewThreads>(hwnd(), decoder_);
  model_ = std::make_unique<SettingsDialogModel>(settings_, files_, &view_, decoder_.get(), nullptr,
                                                 folder_previews_.get());

  ShowWindow(hwnd(), SW_SHOW);
  SetForegroundWindow(hwnd());
  UpdateWindow(hwnd());
}

void TScrSetUpForm::AddMenuBar() {
  win32::UniqueMenu menu(CreateMenu());
  AppendMenuW(menu.get(), MF_STRING, kSettingsExtendedMenuId, win32::Widen(kExtendedMenuCaption).c_str());
  AppendMenuW(menu.get(), MF_STRING, kSettingsHelpMenuId, win32::Widen(kHelpMenuCaption).c_str());
  // From here on the window owns the menu and destroys it with itself.
  if (SetMenu(hwnd(), menu.get())) menu.release();
}

void TScrSetUpForm::FillBoxTabs() {
  for (int box = 1; box <= 4; ++box) {
    const win32::TabControl tabs(ControlOf(R::kBoxTabControl, box));
    for (int slot = 1; slot <= 12; ++slot) tabs.AddTab(win32::Widen(BoxTabCaption(slot)));
    tabs.Select(0);
    if (box == 1) {
      // The labels and empty pictures on the pages take the page's colour.
      const Row& row = table()[*RowOf(R::kBoxTabControl, box)];
      const win32::DpiScale s = scale();
      page_colour_ = PageColour(tabs.hwnd(), {s(row.width / 2), s(row.height * 3 / 4)});
      page_brush_.reset(CreateSolidBrush(page_colour_));
    }
    PictureOf(R::kBoxPicture, box)->SetLook(BoxPictureEnlarges(box), page_colour_);
  }
  PictureOf(R::kFilePreview)->SetLook(false, GetSysColor(COLOR_BTNFACE));
}

void TScrSetUpForm::StartBrowser() {
  browser_ = std::make_unique<FolderBrowser>(ControlOf(R::kDriveList), ControlOf(R::kFolderList),
                                             ControlOf(R::kFileList),
                                             win32::Widen(PictureFileMask(decoder_->Extensions())), scale());
  FileListDrag::Handlers drag;
  drag.selected = [this] { FileListClick(); };
  drag.accepts = [this](HWND target) {
    return BoxOfPicture(target) != 0 && SettingsDialogModel::BoxDragOver(DragSource::kFileList);
  };
  drag.dropped = [this](HWND target) { DropOnBox(target); };
  drag_ = std::make_unique<FileListDrag>(ControlOf(R::kFileList), std::move(drag));

  FileListDrag::Handlers folder;
  folder.accepts = [this](HWND target) {
    return BoxOfPicture(target) != 0 && SettingsDialogModel::BoxDragOver(DragSource::kFolderList);
  };
  folder.dropped = [this](HWND target) { DropFolderOnBox(target); };
  folder.double_clicked = [this] { browser_->OpenSelectedFolder(); };
  folder_drag_ = std::make_unique<FileListDrag>(ControlOf(R::kFolderList), std::move(folder));

  wchar_t current[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, current);
  if (!browser_->OpenFolder(current)) browser_->OpenFolder(L"C:\\");
}

int TScrSetUpForm::BoxOfPicture(HWND hwnd) const {
  for (int box = 1; box <= 4; ++box)
    if (hwnd && hwnd == ControlOf(R::kBoxPicture, box)) return box;
  return 0;
}

void TScrSetUpForm::FileListClick() {
  if (!model_) return;
  const std::optional<std::string> item = Narrowed(browser_->SelectedFile());
  model_->ScrSetUpFileListBoxClick(win32::Narrow(browser_->folder()), AsView(item));
}

void TScrSetUpForm::DropOnBox(HWND target) {
  const int box = BoxOfPicture(target);
  if (!model_ || box == 0) return;
  const std::optional<std::string> item = Narrowed(browser_->SelectedFile());
  model_->BoxDragDrop(box, DragSource::kFileList, win32::Narrow(browser_->folder()), AsView(item));
}

void TScrSetUpForm::DropFolderOnBox(HWND target) {
  const int box = BoxOfPicture(target);
  const std::optional<std::wstring> folder = browser_->SelectedFolder();
  if (!model_ || box == 0 || !folder) return;
  Guarded(hwnd(), [&] { model_->BoxFolderDragDrop(box, win32::Narrow(*folder)); });
}

void TScrSetUpForm::OpenDialog(Factory factory) {
  DialogContext context{settings_, files_, hwnd(), *model_, music_paths_};
  if (std::unique_ptr<win32::Window> dialog = factory(context)) dialogs_.push_back(std::move(dialog));
}

void TScrSetUpForm::OnOtherCommand(int id, int code) {
  if (!model_ || code != 0) return;
  if (id == kSettingsHelpMenuId) Guarded(hwnd(), [&] { OpenDialog(&CreateForm4); });
  if (id == kSettingsExtendedMenuId) Guarded(hwnd(), [&] { OpenDialog(&CreateExtendedSetUpForm); });
}

void TScrSetUpForm::OnControl(const Row& row, int code, HWND) {
  if (!model_) return;
  Guarded(hwnd(), [&] {
    switch (row.role) {
      case R::kPattern1Radio:
      case R::kPattern2Radio: model_->set_pattern2_selected(row.role == R::kPattern2Radio); break;
      case R::kMusicPlayRadio:
      case R::kMusicStopRadio: model_->set_music_play_selected(row.role == R::kMusicPlayRadio); break;
      case R::kPatternDetailButton:
        OpenDialog(model_->NoImageRegFileDSaveButtonClick() == PatternDetailDialog::kPattern1
                       ? &CreateNo1SetUpDetailForm
                       : &CreateNo2SetUpDetailForm);
        break;
      case R::kMusicDetailButton: OpenDialog(&CreateMusicSetUpForm); break;
      case R::kSaveButton: model_->NoImageRegFileSaveButtonClick(); break;
      case R::kCancelButton: model_->CancelButtonClick(); break;
      case R::kBoxOpenButton: model_->BoxImageButtonClick(row.index); break;
      case R::kBoxClearButton: model_->BoxClearButtonClick(row.index); break;
      case R::kDriveList:
        if (code == CBN_SELCHANGE) browser_->DriveChanged();
        break;
      case R::kFolderList:
        if (code == LBN_DBLCLK) browser_->OpenSelectedFolder();
        break;
      case R::kFileList:
        // A press on an item reaches FileListClick through the drag handler; this is the keyboard.
        if (code == LBN_SELCHANGE && !drag_->dragging()) FileListClick();
        break;
      default: break;
    }
  });
}

LRESULT TScrSetUpForm::OnControlNotify(const Row& row, const NMHDR& header) {
  if (!model_ || header.code != static_cast<UINT>(TCN_SELCHANGE) || row.role != R::kBoxTabControl) return 0;
  const int slot = win32::TabControl(header.hwndFrom).Selected() + 1;
  Guarded(hwnd(), [&] { model_->BoxTabControlChange(row.index, slot); });
  return 0;
}

void TScrSetUpForm::OnCloseRequest() {
  if (model_)
    model_->Close();
  else
    Destroy();
}

void TScrSetUpForm::OnRescale() {
  TableForm::OnRescale();
  if (browser_) browser_->Rescale(scale());
}

void TScrSetUpForm::OnDestroy() {
  // A folder still being listed is left to its thread, which finds nobody to tell.
  if (folder_previews_) folder_previews_->Stop();
  // The settings dialog is the run's main window.
  PostQuitMessage(0);
}

LRESULT TScrSetUpForm::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MEASUREITEM: {
      // Sent while the folder list is being created; FolderBrowser sets the height for its font.
      auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      item.itemHeight = static_cast<UINT>(scale()(16));
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (browser_ && item.hwndItem == browser_->folder_list()) {
        browser_->DrawFolderItem(item);
        return TRUE;
      }
      break;
    }
    case WM_CTLCOLORSTATIC: {
      const auto row = controls().RowOf(reinterpret_cast<HWND>(lparam));
      if (!row || table()[*row].role != R::kBoxLabel || !page_brush_) break;
      SetBkColor(reinterpret_cast<HDC>(wparam), page_colour_);
      return reinterpret_cast<LRESULT>(page_brush_.get());
    }
    case WM_PRINTCLIENT: {
      // Themed radio buttons ask the form for what lies behind them.
      RECT client{};
      GetClientRect(hwnd(), &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 0;
    }
    case FolderPreviewThreads::kMessage:
      if (folder_previews_) folder_previews_->Deliver(wparam);
      return 0;
    default:
      break;
  }
  return TableForm::OnMessage(message, wparam, lparam);
}

}  // namespace tessmoor
