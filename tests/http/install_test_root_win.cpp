// Puts the test CA into the Root store of the current Wine prefix, so that the servers'
// certificates issued by it are trusted. Runs as its own process before the web request tests:
// a process does not see roots added while it runs.
//   install_test_root <ca.der as a Linux path>
#include <windows.h>
// wincrypt.h needs the types of windows.h.
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/http/wine_paths_win.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: install_test_root CA.der\n");
    return 2;
  }
  std::ifstream in(lumenta::testing_support::WinePath(argv[1]).c_str(), std::ios::binary);
  const std::string der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (der.empty()) {
    std::fprintf(stderr, "install_test_root: cannot read %s\n", argv[1]);
    return 1;
  }
  if (!CertAddEncodedCertificateToSystemStoreW(L"Root", reinterpret_cast<const BYTE*>(der.data()),
                                               static_cast<DWORD>(der.size()))) {
    std::fprintf(stderr, "install_test_root: the Root store refused the CA (error %lu)\n",
                 GetLastError());
    return 1;
  }
  std::printf("test CA in the Root store\n");
  return 0;
}
