// Painting a dialog into a picture: a 600 x 450 dialog whose report list
// view holds 100 rows of four columns (the parameter lists' shape), with
// its header, a few buttons and texts. One iteration paints the whole
// window tree (frames, backgrounds, each control's look) into pixels; the
// target is under 20 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/win32/common_controls.h"
#include "platform/win32/control_messages.h"
#include "platform/win32/message_queue.h"
#include "platform/win32/window_api.h"
#include "platform/win32/driver/window_pictures.h"

namespace {

HWND MakeDialog() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = "BenchDialog";
  RegisterClassA(&wc);
  HWND dialog = CreateWindowExA(0, "BenchDialog", "Parameters", WS_POPUP | WS_VISIBLE, 0, 0, 600, 450, nullptr,
                                nullptr, nullptr, nullptr);
  HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS,
                              10, 10, 580, 380, dialog, nullptr, nullptr, nullptr);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const char* titles[] = {"Name", "Value", "Unit", "Description"};
  const int widths[] = {140, 120, 80, 220};
  for (int c = 0; c < 4; ++c) {
    LVCOLUMNA col{LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM, 0, widths[c], const_cast<char*>(titles[c]), 0, c, 0, 0};
    SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
  }
  for (int row = 0; row < 100; ++row) {
    std::string name = "Parameter " + std::to_string(row);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = name.data();
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    const std::string texts[] = {std::to_string(row * 12.5), "mm", "Length of the part number " + std::to_string(row)};
    for (int c = 1; c < 4; ++c) {
      item.iSubItem = c;
      item.pszText = const_cast<char*>(texts[c - 1].c_str());
      SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
  }
  const char* buttons[] = {"OK", "Cancel", "Help"};
  for (int b = 0; b < 3; ++b)
    CreateWindowExA(0, "Button", buttons[b], WS_CHILD | WS_VISIBLE | (b ? BS_PUSHBUTTON : BS_DEFPUSHBUTTON),
                    330 + 88 * b, 405, 75, 23, dialog, nullptr, nullptr, nullptr);
  CreateWindowExA(0, "Static", "Rows of the product's parameters", WS_CHILD | WS_VISIBLE, 10, 410, 300, 16, dialog,
                  nullptr, nullptr, nullptr);
  return dialog;
}

void BM_PaintDialogWithA100RowList(benchmark::State& state) {
  HWND dialog = MakeDialog();
  WindowPicture picture;
  for (auto _ : state) {
    if (!PaintWindowPicture(dialog, &picture)) {
      state.SkipWithError("the dialog could not be painted");
      break;
    }
    benchmark::DoNotOptimize(picture.pixels.data());
  }
  DestroyWindow(dialog);
}

}  // namespace

BENCHMARK(BM_PaintDialogWithA100RowList)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
