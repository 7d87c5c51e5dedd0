#include "ConsoleWindow.h"

#ifdef _WIN32
#include <windows.h>

#include <cwchar>
#endif

namespace kov::wfexport {

#ifdef _WIN32
bool OwnConsoleWindow() {
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
}

void WaitForEnter(int status, bool noArguments) {
  // In UTF-16, so that the Japanese reads right whatever the console's code page.
  const wchar_t* text =
      noArguments
          ? L"\n記録ファイル（WFdata.txt）をこのプログラムのアイコンにドロップしてください。\n"
            L"Drop a recording (WFdata.txt) on the program's icon.\n"
      : status == 0 ? L"\n書き出しが終わりました（上の一覧のファイルです）。\n"
                      L"Done: the files listed above were written.\n"
                    : L"\n書き出せませんでした。理由は上のメッセージのとおりです。\n"
                      L"Nothing was written, for the reason above.\n";
  const wchar_t* prompt = L"Enter キーを押すと閉じます。 / Press Enter to close.";
  const HANDLE out = GetStdHandle(STD_ERROR_HANDLE);
  DWORD written = 0;
  WriteConsoleW(out, text, static_cast<DWORD>(std::wcslen(text)), &written, nullptr);
  WriteConsoleW(out, prompt, static_cast<DWORD>(std::wcslen(prompt)), &written, nullptr);
  wchar_t line[256];
  DWORD read = 0;
  ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), line, 256, &read, nullptr);
}
#else
bool OwnConsoleWindow() { return false; }

void WaitForEnter(int, bool) {}
#endif

}  // namespace kov::wfexport
