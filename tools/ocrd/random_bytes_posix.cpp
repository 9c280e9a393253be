#include <sys/random.h>

#include <cerrno>

#include "tools/ocrd/random_bytes.h"

namespace lumenta::ocrd {

bool FillRandomBytes(unsigned char* bytes, std::size_t count) {
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = getrandom(bytes + done, count - done, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace lumenta::ocrd
