#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/dialog_layout.h"
#include "tests/e2e/harness.h"

// The dialogs that the module builds from a layout table (the two detail dialogs and the version
// dialog), driven from the test program: each control found by its row in the table, clicked,
// scrolled and read with the messages a user's actions produce.
namespace tessmoor::e2e {

// These dialogs number their controls from this id in the order of their layout tables.
inline constexpr int kFirstLayoutControlId = 1000;
inline constexpr auto kDialogOpen = std::chrono::seconds(5);

// What every such dialog offers, whatever its table.
class DialogDriver {
 public:
  DialogDriver() = default;
  explicit DialogDriver(HWND dialog) : dialog_(dialog) {}
  HWND hwnd() const { return dialog_; }
  explicit operator bool() const { return dialog_ != nullptr; }

  // The control of row `row` of the layout table.
  HWND ControlAt(std::size_t row) const { return GetDlgItem(dialog_, kFirstLayoutControlId + static_cast<int>(row)); }

  static bool Checked(HWND button);
  static int BarPosition(HWND bar);
  // BM_CLICK, returning when the dialog has handled it.
  static void Click(HWND button);
  // A scroll bar's arrows and thumb as the bar reports them to this dialog: the step, then the
  // end of the action.
  void ArrowRight(HWND bar) const;
  void ArrowLeft(HWND bar) const;
  void ThumbTo(HWND bar, int position) const;
  // One notification of a thumb being dragged, without the end of the drag.
  void ThumbTrack(HWND bar, int position) const;

  Point Origin() const;
  void MoveTo(int x, int y) const;
  bool Visible() const { return IsWindowVisible(dialog_) != FALSE; }
  // The title bar's close box.
  void PressCloseBox() const;
  // Waits until the dialog is hidden; false when it is still shown after a while.
  bool WaitClosed() const;

 private:
  void Scroll(HWND bar, int code, int position) const;
  HWND dialog_ = nullptr;
};

// The row of a layout table with this role and numbers; a test failure when there is none.
template <class Role>
std::size_t RowOf(const std::vector<ControlDesign<Role>>& table, Role role, int index = 0, int item = 0) {
  for (std::size_t i = 0; i < table.size(); ++i)
    if (table[i].role == role && table[i].index == index && table[i].item == item) return i;
  ADD_FAILURE() << "no such row";
  return 0;
}

// A dialog built from the table `Table()` gives.
template <class Role, const std::vector<ControlDesign<Role>>& (*Table)()>
class LayoutDialogDriver : public DialogDriver {
 public:
  using DialogDriver::DialogDriver;
  static const std::vector<ControlDesign<Role>>& Layout() { return Table(); }
  static std::size_t Row(Role role, int index = 0, int item = 0) { return RowOf(Table(), role, index, item); }
  HWND Control(Role role, int index = 0, int item = 0) const { return ControlAt(Row(role, index, item)); }
};

}  // namespace tessmoor::e2e
