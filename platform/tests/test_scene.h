// A small picture drawn the same way through every canvas back-end, so that the
// recorded calls and the painted pixels can be checked against one description.
#pragma once

#include "platform/canvas.h"

namespace kelvara::platform::testing {

inline constexpr Size kSceneSize{200, 200};
inline constexpr Rect kSceneEllipse{20, 20, 81, 81};
inline constexpr Color kSceneRed{255, 0, 0};
inline constexpr Color kSceneBlue{0, 0, 255};
inline constexpr Color kSceneGreen{0, 160, 0};
inline constexpr int kSceneLineY = 150;
inline constexpr Point kSceneTextAnchor{150, 120};
inline constexpr const char* kSceneText = "Овен";
inline constexpr Point kSceneCopyOrigin{170, 10};
inline constexpr Size kSceneBitmapSize{20, 20};

inline void DrawScene(Canvas& canvas) {
  canvas.FillRect({0, 0, kSceneSize.width, kSceneSize.height}, kWhite);
  canvas.SetPen({kBlack, 1, PenStyle::Solid});
  canvas.SetBrush(Brush::Solid(kSceneRed));
  canvas.DrawEllipse(kSceneEllipse);
  canvas.SetPen({kSceneBlue, 1, PenStyle::Dash});
  canvas.DrawLine({10, kSceneLineY}, {190, kSceneLineY});
  canvas.SetFont({"DejaVu Sans", 20, 0, kNormalWeight, 900});
  canvas.SetTextColor(kBlack);
  canvas.DrawText(kSceneTextAnchor, kSceneText);
  auto bitmap = canvas.CreateBitmap(kSceneBitmapSize);
  bitmap->Surface().FillRect({0, 0, kSceneBitmapSize.width, kSceneBitmapSize.height}, kSceneGreen);
  canvas.BlockCopy(kSceneCopyOrigin, *bitmap, {0, 0, kSceneBitmapSize.width, kSceneBitmapSize.height});
}

}  // namespace kelvara::platform::testing
