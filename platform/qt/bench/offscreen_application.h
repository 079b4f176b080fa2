// The one application a picture benchmark needs: offscreen, with the program's fonts.
#pragma once

#include <QGuiApplication>

#include <filesystem>

#include "platform/qt/qt_canvas.h"

namespace kelvara::platform::bench {

inline QGuiApplication& OffscreenApplication(const std::filesystem::path& fontFolder) {
  static int argc = 1;
  static char name[] = "kelvara_bench";
  static char* argv[] = {name, nullptr};
  static auto* application = [&fontFolder] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    auto* app = new QGuiApplication(argc, argv);
    RegisterFontFiles(fontFolder);
    return app;
  }();
  return *application;
}

}  // namespace kelvara::platform::bench
