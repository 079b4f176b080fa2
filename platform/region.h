// A screen region made of polygons, kept by the pictures so that a tap can find what
// was drawn under it.
#pragma once

#include <span>
#include <vector>

#include "platform/geometry.h"

namespace kelvara::platform {

class Region {
 public:
  Region() = default;
  static Region FromPolygon(std::span<const Point> corners);
  static Region FromRect(const Rect& rect);

  // Union with another region.
  void Add(const Region& other);
  // A pixel belongs to the region when its centre lies inside one of the polygons,
  // by the even-odd rule, so right and bottom edges stay outside as with rectangles.
  bool Contains(Point pixel) const;
  bool IsEmpty() const { return polygons_.empty(); }
  Rect BoundingRect() const;

 private:
  std::vector<std::vector<Point>> polygons_;
};

}  // namespace kelvara::platform
