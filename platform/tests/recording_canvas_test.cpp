#include "platform/recording_canvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/tests/bmp_writer.h"
#include "platform/tests/test_scene.h"

namespace kelvara::platform {
namespace {

using Kind = CanvasCall::Kind;

TEST(RecordingCanvas, SceneIsRecordedWithTheToolsInForce) {
  RecordingCanvas canvas;
  testing::DrawScene(canvas);
  const auto& calls = canvas.Calls();
  ASSERT_EQ(calls.size(), 5u);

  EXPECT_EQ(calls[0].kind, Kind::FillRect);
  EXPECT_EQ(calls[0].fillColor, kWhite);

  EXPECT_EQ(calls[1].kind, Kind::Ellipse);
  EXPECT_EQ(calls[1].rect, testing::kSceneEllipse);
  EXPECT_EQ(calls[1].brush, Brush::Solid(testing::kSceneRed));
  EXPECT_EQ(calls[1].pen, (Pen{kBlack, 1, PenStyle::Solid}));

  EXPECT_EQ(calls[2].kind, Kind::Line);
  EXPECT_EQ(calls[2].pen, (Pen{testing::kSceneBlue, 1, PenStyle::Dash}));
  EXPECT_EQ(calls[2].points, (std::vector<Point>{{10, testing::kSceneLineY}, {190, testing::kSceneLineY}}));

  EXPECT_EQ(calls[3].kind, Kind::Text);
  EXPECT_EQ(calls[3].text, testing::kSceneText);
  EXPECT_EQ(calls[3].font.escapement, 900);
  EXPECT_EQ(calls[3].points.front(), testing::kSceneTextAnchor);

  EXPECT_EQ(calls[4].kind, Kind::BlockCopy);
  EXPECT_EQ(calls[4].bitmapId, 1);
  EXPECT_EQ(calls[4].points.front(), testing::kSceneCopyOrigin);
}

TEST(RecordingCanvas, BitmapSurfaceRecordsItsOwnCalls) {
  RecordingCanvas canvas;
  auto bitmap = canvas.CreateBitmap({30, 40});
  EXPECT_EQ(bitmap->PixelSize(), (Size{30, 40}));
  bitmap->Surface().DrawRectangle({0, 0, 30, 40});
  auto& recording = static_cast<RecordingBitmap&>(*bitmap).Recording();
  EXPECT_EQ(recording.CallsOf(Kind::Rectangle).size(), 1u);
  EXPECT_TRUE(canvas.Calls().empty());
}

TEST(RecordingCanvas, TextExtentCountsCharactersNotBytes) {
  RecordingCanvas canvas;
  canvas.SetFont({"Kelvara", 20});
  EXPECT_EQ(canvas.TextExtent("Овен"), (Size{40, 20}));
}

TEST(RecordingCanvas, LoadBitmapReadsTheSizeAndRefusesJunk) {
  const auto folder = std::filesystem::temp_directory_path();
  const auto good = folder / "kelvara-recording-good.bmp";
  const auto junk = folder / "kelvara-recording-junk.bmp";
  testing::BmpFile file{testing::BmpHeaderKind::Info, 64, -16, 8};  // stored top-down
  file.palette = {0x000000, 0xFFFFFF};
  file.pixels = testing::PackRows(64, -16, 8, [](int x, int y) { return std::uint32_t(x + y) % 2; });
  std::vector<std::uint8_t> bytes = testing::WriteBmp(file);
  const auto save = [&bytes](const std::filesystem::path& path) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  };
  save(good);
  testing::PutLittleEndian(bytes, 22, 0x80000000, 4);  // the height INT_MIN, which has no positive counterpart
  save(junk);
  RecordingCanvas canvas;
  const auto bitmap = canvas.LoadBitmap(good);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->PixelSize(), (Size{64, 16}));
  EXPECT_EQ(canvas.LoadBitmap(junk), nullptr);
  EXPECT_EQ(canvas.LoadBitmap(folder / "kelvara-missing.bmp"), nullptr);
  std::filesystem::remove(good);
  std::filesystem::remove(junk);
}

}  // namespace
}  // namespace kelvara::platform
