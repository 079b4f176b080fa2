#include "engine/ephemeris/sin_cos.h"

namespace kelvara::engine {
namespace {

// One copy per vector width, picked when the program loads (GCC and Clang on x86-64); the
// arrays never overlap, which the vectorizer needs to be told. The picker runs before the
// thread sanitizer's runtime is up, so a sanitized build keeps the one plain copy.
#if defined(__GNUC__) && defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define KELVARA_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#define KELVARA_RESTRICT __restrict
#else
#define KELVARA_VECTOR_CLONES
#define KELVARA_RESTRICT
#endif

// True when every angle was within the reduction's range.
KELVARA_VECTOR_CLONES
bool ReducedSinCosOfAngles(const double* KELVARA_RESTRICT anglesRad, double* KELVARA_RESTRICT sines,
                           double* KELVARA_RESTRICT cosines, std::size_t count) {
  int outOfRange = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const SinCos angle = sin_cos_detail::ReducedSinCos(anglesRad[i]);
    sines[i] = angle.sin;
    cosines[i] = angle.cos;
    outOfRange |= !(std::fabs(anglesRad[i]) < sin_cos_detail::kMaxReducedRad);
  }
  return outOfRange == 0;
}

}  // namespace

void SinCosOfAngles(const double* anglesRad, double* sines, double* cosines, std::size_t count) {
  if (ReducedSinCosOfAngles(anglesRad, sines, cosines, count)) return;
  for (std::size_t i = 0; i < count; ++i) {
    if (!(std::fabs(anglesRad[i]) < sin_cos_detail::kMaxReducedRad)) {
      sines[i] = std::sin(anglesRad[i]);
      cosines[i] = std::cos(anglesRad[i]);
    }
  }
}

}  // namespace kelvara::engine
