// bench/recognition: the recognition body of an 8 MiB picture in the native build, the reference
// for the same measurement under Wine. scripts/bench-recognition runs it first and hands its
// lines to the Windows benchmark (LUMENTA_NATIVE_BODY_TIMES), which prints both side by side.
//   body_timing [ROUNDS]
#include <cstdio>
#include <cstdlib>

#include "body_timing.h"

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const auto picture = lumenta::bench::VariedBytes(lumenta::bench::kEightMebibytePicture);
  const auto t = lumenta::bench::TimeRecognitionBody(picture, rounds);
  std::printf("%.3f %.3f %.3f %.3f %zu\n", t.body, t.encoding, t.pieces, t.firstTouch, t.bodySize);
  return 0;
}
