#include "framework/data_exchange.h"

#include <vector>

void DDX_Check(CDataExchange* dx, int id, int& value) {
  HWND box = dx->Control(id);
  if (dx->saving()) {
    value = static_cast<int>(SendMessageA(box, BM_GETCHECK, 0, 0));
    return;
  }
  if (value < 0 || value > 2) value = 0;
  SendMessageA(box, BM_SETCHECK, value, 0);
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  HWND list = dx->Control(id);
  if (dx->saving()) {
    index = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
    return;
  }
  SendMessageA(list, CB_SETCURSEL, index, 0);
}

void DDX_Text(CDataExchange* dx, int id, std::string& text) {
  HWND control = dx->Control(id);
  if (dx->saving()) {
    int length = GetWindowTextLengthA(control);
    std::vector<char> buffer(length + 1);
    GetWindowTextA(control, buffer.data(), length + 1);
    text = buffer.data();
    return;
  }
  SetWindowTextA(control, text.c_str());
}
