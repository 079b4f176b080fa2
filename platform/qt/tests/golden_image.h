// Pictures compared with a golden image within a small tolerance, so that a changed
// picture fails while the last bit of anti-aliasing may differ. With the variable
// KELVARA_UPDATE_GOLDEN set, the golden image is written instead of compared.
#pragma once

#include <QImage>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace kelvara::platform::testing {

struct ImageDifference {
  bool sameSize = false;
  double differingShare = 1.0;  // of the pixels, whose channels differ by more than the step
};

inline constexpr int kChannelStep = 48;            // of 255
inline constexpr double kAllowedDifferingShare = 0.002;

inline ImageDifference CompareImages(const QImage& actual, const QImage& expected) {
  ImageDifference difference;
  if (actual.size() != expected.size()) return difference;
  difference.sameSize = true;
  const QImage a = actual.convertToFormat(QImage::Format_RGB32);
  const QImage b = expected.convertToFormat(QImage::Format_RGB32);
  long long differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      const int step = std::max({std::abs(qRed(rowA[x]) - qRed(rowB[x])), std::abs(qGreen(rowA[x]) - qGreen(rowB[x])),
                                 std::abs(qBlue(rowA[x]) - qBlue(rowB[x]))});
      if (step > kChannelStep) ++differing;
    }
  }
  difference.differingShare = static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
  return difference;
}

// True when the picture matches the golden file (or the golden file was written).
inline bool MatchesGolden(const QImage& actual, const std::string& goldenFile, std::string* why) {
  const QString file = QString::fromStdString(goldenFile);
  if (std::getenv("KELVARA_UPDATE_GOLDEN")) return actual.save(file);
  const QImage expected(file);
  if (expected.isNull()) {
    *why = "no golden image " + goldenFile;
    return false;
  }
  const ImageDifference difference = CompareImages(actual, expected);
  if (!difference.sameSize) {
    *why = "the size differs from " + goldenFile;
    return false;
  }
  if (difference.differingShare > kAllowedDifferingShare) {
    *why = std::to_string(difference.differingShare * 100.0) + "% of the pixels differ from " + goldenFile;
    return false;
  }
  return true;
}

}  // namespace kelvara::platform::testing
