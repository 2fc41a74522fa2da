/* The loader's own verdict on each file named: "1 PATH" when LoadLibraryA maps it with all of
   its DLLs, "0 PATH ERROR" when it fails. No message box waits for an answer. */
#include <windows.h>
#include <stdio.h>

int main(int argc, char** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  for (int i = 1; i < argc; ++i) {
    HMODULE module = LoadLibraryA(argv[i]);
    if (module != NULL) {
      printf("1 %s\n", argv[i]);
      FreeLibrary(module);
    } else {
      printf("0 %s %lu\n", argv[i], GetLastError());
    }
  }
  return 0;
}
