#include "classlib/ole/ComObj.h"

namespace vcl {

void OleCheck(HRESULT Result) {
  if (SUCCEEDED(Result)) return;
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     static_cast<DWORD>(Result), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  String message = length && text ? String(text, length) : String();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  if (message.empty()) {
    wchar_t code[32];
    swprintf(code, 32, L"OLE error %08X", static_cast<unsigned>(Result));
    message = code;
  }
  throw EOleSysError(message, Result);
}

}  // namespace vcl
