#include "platform/region.h"

#include <algorithm>

namespace kelvara::platform {
namespace {

bool PolygonContains(const std::vector<Point>& polygon, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.y > y) == (b.y > y)) continue;
    const double crossingX = a.x + (y - a.y) * double(b.x - a.x) / double(b.y - a.y);
    if (x < crossingX) inside = !inside;
  }
  return inside;
}

}  // namespace

Region Region::FromPolygon(std::span<const Point> corners) {
  Region region;
  if (corners.size() >= 3) region.polygons_.emplace_back(corners.begin(), corners.end());
  return region;
}

Region Region::FromRect(const Rect& rect) {
  if (rect.IsEmpty()) return {};
  const Point corners[] = {
      {rect.left, rect.top}, {rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left, rect.bottom}};
  return FromPolygon(corners);
}

void Region::Add(const Region& other) {
  polygons_.insert(polygons_.end(), other.polygons_.begin(), other.polygons_.end());
}

bool Region::Contains(Point pixel) const {
  return std::any_of(polygons_.begin(), polygons_.end(), [&](const auto& polygon) {
    return PolygonContains(polygon, pixel.x + 0.5, pixel.y + 0.5);
  });
}

Rect Region::BoundingRect() const {
  if (polygons_.empty()) return {};
  Rect bounds{polygons_[0][0].x, polygons_[0][0].y, polygons_[0][0].x, polygons_[0][0].y};
  for (const auto& polygon : polygons_) {
    for (const Point& p : polygon) {
      bounds.left = std::min(bounds.left, p.x);
      bounds.top = std::min(bounds.top, p.y);
      bounds.right = std::max(bounds.right, p.x);
      bounds.bottom = std::max(bounds.bottom, p.y);
    }
  }
  return bounds;
}

}  // namespace kelvara::platform
