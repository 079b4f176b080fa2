// The offsets of the city base against the C library's own conversion (localtime
// with TZ set to the city's zone) at random moments over 1860-2130. The base is
// built here from this machine's zoneinfo, so both sides read the same rules.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <algorithm>
#include <optional>
#include <random>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "places/place_time.h"
#include "tools/citybase/base_builder.h"
#include "tools/citybase/posix_tz.h"

namespace kelvara::citybase {
namespace {

constexpr int kMomentsPerCity = 2000;
constexpr double kSecondsPerHour = 3600.0;
// Offsets are stored in 4-second units, so a rounding of up to 2 seconds is exact.
constexpr double kOffsetToleranceSeconds = 2.5;
// Before a zone's first change the base keeps the city's own mean time, the C library
// that of the zone's principal city; for these principal cities they differ slightly.
constexpr double kMeanTimeToleranceSeconds = 30.0;

// 50 cities on every continent, each the principal city of its zone.
const std::pair<const char*, const char*> kCitiesAndZones[] = {
    {"Москва", "Europe/Moscow"}, {"Калининград", "Europe/Kaliningrad"}, {"Самара", "Europe/Samara"},
    {"Киев", "Europe/Kyiv"}, {"Минск", "Europe/Minsk"}, {"Алматы", "Asia/Almaty"}, {"Лондон", "Europe/London"},
    {"Нью-Йорк", "America/New_York"}, {"Сидней", "Australia/Sydney"}, {"Катманду", "Asia/Kathmandu"},
    {"Париж", "Europe/Paris"}, {"Берлин", "Europe/Berlin"}, {"Дублин", "Europe/Dublin"},
    {"Лиссабон", "Europe/Lisbon"}, {"Стамбул", "Europe/Istanbul"}, {"Тегеран", "Asia/Tehran"},
    {"Калькутта", "Asia/Kolkata"}, {"Шанхай", "Asia/Shanghai"}, {"Токио", "Asia/Tokyo"}, {"Ташкент", "Asia/Tashkent"},
    {"Екатеринбург", "Asia/Yekaterinburg"}, {"Новосибирск", "Asia/Novosibirsk"}, {"Владивосток", "Asia/Vladivostok"},
    {"Петропавловск-Камчатский", "Asia/Kamchatka"}, {"Магадан", "Asia/Magadan"}, {"Тбилиси", "Asia/Tbilisi"},
    {"Баку", "Asia/Baku"}, {"Ереван", "Asia/Yerevan"}, {"Кишинев", "Europe/Chisinau"}, {"Рига", "Europe/Riga"},
    {"Чикаго", "America/Chicago"}, {"Денвер", "America/Denver"}, {"Лос-Анджелес", "America/Los_Angeles"},
    {"Анкоридж", "America/Anchorage"}, {"Гонолулу", "Pacific/Honolulu"}, {"Сент-Джонс", "America/St_Johns"},
    {"Сан-Паулу", "America/Sao_Paulo"}, {"Буэнос-Айрес", "America/Argentina/Buenos_Aires"},
    {"Сантьяго", "America/Santiago"}, {"Мехико", "America/Mexico_City"}, {"Гавана", "America/Havana"},
    {"Каир", "Africa/Cairo"}, {"Касабланка", "Africa/Casablanca"}, {"Йоханнесбург", "Africa/Johannesburg"},
    {"Виндхук", "Africa/Windhoek"}, {"Аделаида", "Australia/Adelaide"}, {"Окленд", "Pacific/Auckland"},
    {"Иерусалим", "Asia/Jerusalem"},
};

// Islands the cities table lacks but whose rules matter: +12:45 and half-hour summer time.
const CitySource kIslands[] = {
    {"Уаитанги", "Waitangi", "NZ", "Chatham Islands", -43.95353, -176.55973, 300, "Pacific/Chatham"},
    {"Лорд-Хау", "Lord Howe", "AU", "New South Wales", -31.55, 159.0833, 400, "Australia/Lord_Howe"},
};

std::vector<CitySource> TestCities() {
  const auto csv = platform::ReadFileBytes(std::string(KELVARA_TEST_DATA_DIR) + "/cities.csv");
  EXPECT_TRUE(csv);
  const auto all = ParseCitiesCsv(csv.value_or(""));
  std::vector<CitySource> chosen;
  for (const auto& [name, zone] : kCitiesAndZones) {
    const CitySource* best = nullptr;
    for (const CitySource& city : all) {
      if (city.nameRu == name && city.zone == zone &&
          (!best || city.population > best->population)) {
        best = &city;
      }
    }
    EXPECT_TRUE(best) << name;
    if (best) chosen.push_back(*best);
  }
  chosen.insert(chosen.end(), std::begin(kIslands), std::end(kIslands));
  return chosen;
}

// Offset from Greenwich in seconds as the C library computes it for the zone.
class SystemZone {
 public:
  explicit SystemZone(const std::string& zone) {
    setenv("TZ", zone.c_str(), 1);
    tzset();
  }
  ~SystemZone() {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  // Offset east in seconds, and whether the zone keeps local mean time then.
  std::pair<long, bool> Offset(int64_t unixSeconds) const {
    const std::time_t t = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_gmtoff, std::string_view(local.tm_zone) == "LMT"};
  }
};

struct Tally {
  int checked = 0;
  int meanTime = 0;
  int mismatches = 0;
  double largestMeanTimeGapSeconds = 0.0;
};

const int64_t kUnix1860 = UnixSecondsOfDate(1860, 1, 1);

double HoursSince1860(int64_t unixSeconds) {
  return static_cast<double>(unixSeconds - kUnix1860) / kSecondsPerHour;
}

bool Agrees(const std::optional<places::TimePeriod>& period, double expectedSeconds,
            bool meanTime, Tally& tally) {
  if (!period) return false;
  const double gap = std::fabs(period->offsetHours * kSecondsPerHour - expectedSeconds);
  if (meanTime) tally.largestMeanTimeGapSeconds = std::max(tally.largestMeanTimeGapSeconds, gap);
  return gap <= (meanTime ? kMeanTimeToleranceSeconds : kOffsetToleranceSeconds);
}

// A local clock reading is ambiguous or skipped only near a change; far enough
// away from any change (a day and more where the date line moved) it names one moment.
bool FarFromChanges(const SystemZone& system, int64_t utc) {
  constexpr int64_t kMargin = 25 * 3600;  // Alaska in 1867 set its clocks back a day
  const long offset = system.Offset(utc).first;
  return system.Offset(utc - kMargin).first == offset && system.Offset(utc + kMargin).first == offset;
}

void CompareCity(const places::CityRecord& city, std::mt19937_64& random, Tally& tally) {
  const SystemZone system(city.fourthText);
  const places::PlaceTime time = places::PlaceTimeOfCity(city);
  // From the second day on: a west-of-Greenwich city's first period starts at local midnight.
  std::uniform_int_distribution<int64_t> moments(UnixSecondsOfDate(1860, 1, 2),
                                                 UnixSecondsOfDate(2130, 12, 31));
  for (int i = 0; i < kMomentsPerCity; ++i) {
    const int64_t utc = moments(random);
    const auto [expected, meanTime] = system.Offset(utc);
    const auto period = places::OffsetAt(time, HoursSince1860(utc), true);
    bool agrees = Agrees(period, expected, meanTime, tally);
    if (agrees && FarFromChanges(system, utc)) {
      const auto local = places::OffsetAt(time, HoursSince1860(utc + expected), false);
      agrees = Agrees(local, expected, meanTime, tally);
    }
    ++tally.checked;
    tally.meanTime += meanTime ? 1 : 0;
    if (!agrees) {
      ++tally.mismatches;
      ADD_FAILURE() << city.DisplayName() << " (" << city.fourthText << ") at Unix " << utc
                    << ": C library " << expected / kSecondsPerHour << " h, base "
                    << (period ? period->offsetHours : NAN) << " h";
    }
  }
}

TEST(OffsetAgreement, FiftyCitiesAgreeWithTheSystemAtRandomMoments) {
  const auto sources = TestCities();
  ASSERT_EQ(sources.size(), 50u);
  places::CityBase base;
  places::ParseCityBase(BuildCityBase(sources, "/usr/share/zoneinfo"), base);
  ASSERT_EQ(base.cities.size(), sources.size());
  std::mt19937_64 random(18600101);
  Tally tally;
  for (const places::CityRecord& city : base.cities) CompareCity(city, random, tally);
  std::printf("checked %d moments, %d of them in local mean time (largest gap to the zone's"
              " mean time %.1f s), %d mismatches\n",
              tally.checked, tally.meanTime, tally.largestMeanTimeGapSeconds, tally.mismatches);
  EXPECT_EQ(tally.mismatches, 0);
}

}  // namespace
}  // namespace kelvara::citybase
