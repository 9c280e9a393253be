#include <unistd.h>

#include <climits>

#include "tools/ocrd/program_folder.h"

namespace lumenta::ocrd {

std::string ProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return {};
  const std::string program(path, static_cast<std::size_t>(length));
  const std::size_t slash = program.rfind('/');
  return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

}  // namespace lumenta::ocrd
