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

// How far a picture may stray from its golden image.
struct GoldenTolerance {
  int channelStep = kChannelStep;
  double differingShare = kAllowedDifferingShare;
};

inline ImageDifference CompareImages(const QImage& actual, const QImage& expected, int channelStep = kChannelStep) {
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
      if (step > channelStep) ++differing;
    }
  }
  difference.differingShare = static_cast<double>(differing) / (static_cast<double>(a.width()) * a.height());
  return difference;
}

// The actual picture and a map of the differing pixels, in the current folder, to look at.
inline void SaveFailure(const QImage& actual, const QImage& expected, const std::string& goldenFile) {
  const std::string base = goldenFile.substr(goldenFile.find_last_of('/') + 1);
  actual.save(QString::fromStdString(base + ".actual.png"));
  QImage diff(actual.size(), QImage::Format_RGB32);
  const QImage a = actual.convertToFormat(QImage::Format_RGB32);
  const QImage b = expected.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb pa = a.pixel(x, y), pb = b.pixel(x, y);
      const int step = std::max({std::abs(qRed(pa) - qRed(pb)), std::abs(qGreen(pa) - qGreen(pb)),
                                 std::abs(qBlue(pa) - qBlue(pb))});
      diff.setPixel(x, y, step > kChannelStep ? qRgb(255, 0, 0) : qRgb(255, 255, 255));
    }
  }
  diff.save(QString::fromStdString(base + ".diff.png"));
}

// True when the picture matches the golden file (or the golden file was written).
inline bool MatchesGolden(const QImage& actual, const std::string& goldenFile, std::string* why,
                          const GoldenTolerance& tolerance = {}) {
  const QString file = QString::fromStdString(goldenFile);
  if (std::getenv("KELVARA_UPDATE_GOLDEN")) return actual.save(file);
  const QImage expected(file);
  if (expected.isNull()) {
    *why = "no golden image " + goldenFile;
    return false;
  }
  const ImageDifference difference = CompareImages(actual, expected, tolerance.channelStep);
  if (!difference.sameSize) {
    *why = "the size differs from " + goldenFile;
    return false;
  }
  if (difference.differingShare > tolerance.differingShare) {
    SaveFailure(actual, expected, goldenFile);
    *why = std::to_string(difference.differingShare * 100.0) + "% of the pixels differ from " + goldenFile;
    return false;
  }
  return true;
}

}  // namespace kelvara::platform::testing
