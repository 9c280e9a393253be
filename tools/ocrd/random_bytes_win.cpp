#include <windows.h>
// After windows.h, which it needs.
#include <bcrypt.h>

#include <climits>

#include "tools/ocrd/random_bytes.h"

namespace lumenta::ocrd {

bool FillRandomBytes(unsigned char* bytes, std::size_t count) {
  while (count > 0) {
    const ULONG chunk = count > ULONG_MAX ? ULONG_MAX : static_cast<ULONG>(count);
    if (BCryptGenRandom(nullptr, bytes, chunk, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) return false;
    bytes += chunk;
    count -= chunk;
  }
  return true;
}

}  // namespace lumenta::ocrd
