// Helpers shared by the places tests: scratch files and small city records.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "places/city_base.h"

namespace kelvara::places::testing {

// A scratch folder removed with the object; one per test, named by process id.
class ScratchDir {
 public:
  ScratchDir()
      : path_(std::filesystem::temp_directory_path() /
              ("kelvara_places_" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Runs `read` while `fifo` is a FIFO; nothing when the read is still blocked after a generous
// wait (a writer end is opened then so that the blocked open returns and the test ends).
template <typename Result>
std::optional<Result> ReadBesideFifo(const std::filesystem::path& fifo, std::function<Result()> read) {
  if (::mkfifo(fifo.c_str(), 0600) != 0) return std::nullopt;
  auto reading = std::async(std::launch::async, std::move(read));
  if (reading.wait_for(std::chrono::seconds(30)) == std::future_status::ready) return reading.get();
  ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
  reading.wait();
  return std::nullopt;
}

inline CityRecord MakeCity(std::string name, std::string suffix, double latitude,
                           double longitude, TimeChangeList changes = {}) {
  CityRecord city;
  city.firstText = "first";
  city.name = std::move(name);
  city.suffix = std::move(suffix);
  city.fourthText = "Europe/Moscow";
  city.encodedX = EncodeLongitude(longitude);
  city.encodedY = EncodeLatitude(latitude);
  city.zoneNumber = 3.0;
  if (!changes.empty()) city.timeChanges = std::make_shared<TimeChangeList>(std::move(changes));
  return city;
}

inline TimeChangeEntry Entry(int year, int month, int day, int hour, int minute, int zone,
                             int kind) {
  return {static_cast<int16_t>(year), static_cast<int16_t>(month), static_cast<int16_t>(day),
          static_cast<int16_t>(hour), static_cast<int16_t>(zone), static_cast<int16_t>(minute),
          static_cast<int16_t>(kind)};
}

// Zone field for a standard offset given in hours east.
inline int ZoneOf(double hoursEast) { return static_cast<int>(-hoursEast * 900.0); }

}  // namespace kelvara::places::testing
