#include "engine/ephemeris/sin_cos.h"

#include "engine/ephemeris/vector_clones.h"

namespace kelvara::engine {
namespace {

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
