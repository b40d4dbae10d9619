// The benchmarks and the station tools stop at once when their setting up fails: a figure measured
// on a half-built catalogue, or a check run on one, means nothing.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "platform/files/status.h"

namespace bench {

inline void must(const files::Status& s, const char* what) {
  if (s) return;
  std::fprintf(stderr, "%s failed: %s (%d) %s\n", what, qPrintable(s.text), s.code, qPrintable(s.driverText));
  std::exit(2);
}

}  // namespace bench
