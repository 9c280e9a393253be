#include "base/byte_buffer.h"

#include <ostream>

namespace lumenta {

void PrintTo(const ByteBuffer& bytes, std::ostream* out) {
  *out << bytes.size() << " bytes \"" << bytes.view() << '"';
}

}  // namespace lumenta
