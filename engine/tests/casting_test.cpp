// Chart casting: the sources of the bodies, the derived points and the options.
#include "engine/casting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/angles.h"
#include "engine/calendar.h"
#include "engine/elements.h"
#include "engine/moon_series.h"
#include "engine/records.h"
#include "engine/tests/run_vector.h"

namespace kelvara::engine {
namespace {

using testing::RepositoryArgv0;
using testing::RunOutput;
using testing::RunTexts;

constexpr double kMeanNodeDegPerDay = -0.053;

// The front-end's Moscow vector, with or without the files.
std::vector<std::string> MoscowVector(bool files, const std::string& argv0 = RepositoryArgv0()) {
  std::vector<std::string> v = testing::MoscowTexts(argv0);
  if (!files) v.erase(v.begin() + 2);
  return v;
}

std::vector<std::string> JulianDayVector(const std::string& jd, bool files) {
  std::vector<std::string> v = {RepositoryArgv0(), "-Yn", "-b0", "qj", jd};
  if (!files) v.erase(v.begin() + 2);
  return v;
}

// The Moscow chart with one more switch in front.
RunOutput RunMoscowWith(const std::string& option) {
  std::vector<std::string> v = MoscowVector(true);
  v.insert(v.begin() + 1, option);
  return RunTexts(v);
}

TEST(Casting, ObjectSeventeenIsTheSouthNodeOnlyWithoutFiles) {
  const RunOutput without = RunTexts(MoscowVector(false));
  const double node = std::fabs(without.longitude[kNode]);
  EXPECT_NEAR(Mod360(node + 180.0), std::fabs(without.longitude[kLilith]), 1e-9);
  EXPECT_NEAR(kMeanNodeDegPerDay, without.speed[kNode], 1e-12);
  EXPECT_NEAR(kMeanNodeDegPerDay, without.speed[kLilith], 1e-12);
  EXPECT_STREQ("S.Node", ProcessEngineState().objectNames[kLilith]);
  EXPECT_EQ(kLeo, ProcessEngineState().ruledSign[kLilith]);

  // With the files object 17 is the mean apogee: moving forward about 0.11 deg/day, and
  // nowhere near the point opposite the node.
  const RunOutput with = RunTexts(MoscowVector(true));
  EXPECT_STREQ("Lilith", ProcessEngineState().objectNames[kLilith]);
  EXPECT_EQ(8, ProcessEngineState().ruledSign[kLilith]);
  EXPECT_NEAR(0.111, with.speed[kLilith], 0.01);
  EXPECT_GT(MinDistance(with.longitude[kLilith], std::fabs(with.longitude[kNode]) + 180.0), 1.0);
}

TEST(Casting, MoonMovesTwelveAndAHalfDegreesADayWithoutFiles) {
  EXPECT_DOUBLE_EQ(12.5, RunTexts(MoscowVector(false)).speed[kMoon]);
  // The files give the true rate: 11.86 deg/day on that day.
  EXPECT_NEAR(11.86, RunTexts(MoscowVector(true)).speed[kMoon], 0.01);
}

TEST(Casting, FortuneReversesMoonMinusSunForNightBirths) {
  for (const char* time : {"14:05", "2:05"}) {  // Sun above, then below the horizon
    std::vector<std::string> v = MoscowVector(true);
    v[9] = time;
    const RunOutput r = RunTexts(v);
    const ObjectTables& objects = ProcessEngineState().objects;
    const bool night = objects.housePlace[kSun] < 7;
    EXPECT_EQ(std::string(time) == "2:05", night) << time;
    double g = objects.longitude[kMoon] - objects.longitude[kSun];
    if (night) g = -g;
    EXPECT_NEAR(0.0, MinDifference(Mod360(objects.longitude[kAscendant] + g), r.longitude[kFortune]),
                1e-9) << time;
    EXPECT_DOUBLE_EQ(360.0, r.speed[kFortune]);
  }
}

// Where the files cannot serve (no data folder, or a day outside every file), Jupiter ...
// Pluto keep the elements model's places: the same as a run without the files.
TEST(Casting, PlanetsWithoutAFileKeepTheElementsModel) {
  const std::string nowhere = "---/nonexistent-kelvara-folder/";
  const std::vector<std::vector<std::string>> cases = {
      MoscowVector(true, nowhere), JulianDayVector("2300000.25", true)};  // 1585: no file
  for (const auto& with_files : cases) {
    const RunOutput with = RunTexts(with_files);
    std::vector<std::string> without_files = with_files;
    without_files.erase(without_files.begin() + 2);
    const RunOutput without = RunTexts(without_files);
    for (int object = kJupiter; object <= kPluto; ++object) {
      EXPECT_DOUBLE_EQ(without.longitude[object], with.longitude[object]) << object;
      EXPECT_DOUBLE_EQ(without.latitude[object], with.latitude[object]) << object;
      EXPECT_DOUBLE_EQ(without.speed[object], with.speed[object]) << object;
    }
    // The Sun comes from the layer's own series, which need no file.
    EXPECT_NE(without.longitude[kSun], with.longitude[kSun]);
  }
}

TEST(Casting, DatesFarOutsideTheSeriesStillGiveFinitePlaces) {
  for (const char* jd : {"-1000000.5", "100000000.5", "5373484.5"}) {
    for (bool files : {true, false}) {
      EXPECT_TRUE(testing::FinitePositions(RunTexts(JulianDayVector(jd, files)))) << jd;
    }
  }
}

TEST(Casting, NodeOutsideTheLayersRangeMovesAtTheMeanRate) {
  // 27 000 years away the layer serves nothing; the node comes from the lunar series and
  // moves like the mean node, never at the placeholder rate of one radian a day.
  const RunOutput r = RunTexts(JulianDayVector("100000000.5", true));
  EXPECT_NEAR(kMeanNodeDegPerDay, r.speed[kNode], 1e-12);
}

// With "-b0" Chiron and the asteroids come from their files. JPL Horizons' apparent places of
// Ceres (ObsEcLon/Lat, DE441 with the small-body perturbations) at 0h UT bound them.
TEST(Casting, MinorBodiesComeFromTheirFilesWithinAnArcsecond) {
  struct Check {
    const char* month;
    const char* day;
    const char* year;
    double longitude_deg, latitude_deg;
  };
  for (const Check& c : {Check{"1", "1", "2000", 184.3426241, 11.7996517},
                         Check{"6", "10", "2022", 100.7867811, 3.7751601},
                         Check{"7", "10", "2022", 113.8960191, 4.4869397}}) {
    const RunOutput r = RunTexts({RepositoryArgv0(), "-Yn", "-b0", "qa", c.month, c.day, c.year,
                                  "0:00", "0", "0e0", "0n0"});
    EXPECT_LT(MinDistance(std::fabs(r.longitude[kCeres]), c.longitude_deg) * 3600.0, 1.0) << c.year;
    EXPECT_NEAR(c.latitude_deg, r.latitude[kCeres], 1.0 / 3600.0) << c.year;
  }
}

TEST(Casting, RetrogradeBodiesComeBackNegated) {
  // Jupiter was retrograde on 12 July 1985 (opposition in August).
  const RunOutput r = RunTexts(MoscowVector(true));
  EXPECT_LT(r.speed[kJupiter], 0.0);
  EXPECT_LT(r.longitude[kJupiter], 0.0);
  EXPECT_GT(r.longitude[kSun], 0.0);
}

TEST(Casting, EquatorialOptionTurnsKeptObjectsIntoRightAscension) {
  const RunOutput ecliptic = RunTexts(MoscowVector(true));
  const RunOutput equatorial = RunMoscowWith("-sr");
  for (int i : {static_cast<int>(kSun), static_cast<int>(kEastPoint)}) {
    const SkyPoint p = EclipticToEquatorial(ecliptic.longitude[i], ecliptic.latitude[i]);
    EXPECT_NEAR(Mod360(p.longitude_deg), equatorial.longitude[i], 1e-9) << i;
    EXPECT_NEAR(p.latitude_deg, equatorial.latitude[i], 1e-9) << i;
  }
  // The cusps are not kept objects and stay ecliptic.
  EXPECT_DOUBLE_EQ(ecliptic.longitude[kMidheaven], equatorial.longitude[kMidheaven]);
}

TEST(Casting, SiderealOffsetMovesBodiesAndAnglesAlike) {
  const RunOutput tropical = RunTexts(MoscowVector(true));
  const RunOutput sidereal = RunMoscowWith("-s");
  const double ayanamsa = MinDifference(tropical.longitude[kMidheaven], sidereal.longitude[kMidheaven]);
  // 84038.27" at 1900 plus 85 years of general precession, with the sign of an offset.
  EXPECT_NEAR(-24.535, ayanamsa, 0.01);
  for (int i = kSun; i <= kLilith; ++i) {
    EXPECT_NEAR(ayanamsa, MinDifference(std::fabs(tropical.longitude[i]), std::fabs(sidereal.longitude[i])),
                1e-9) << i;
  }
}

// Casting an engine state directly: the options that no switch reaches.
class CastingState : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEngineState(state_);
    state_.programFolder = std::string(KELVARA_SOURCE_DIR) + "/";
    state_.settings.useEphemerisFiles = 1;
    state_.settings.trueNode = 1;
    state_.chartInput = {7, 12, 1985, 14.05, 0.0, -3.0, -37.35, 55.45, "", ""};
    for (int i = kFirstCusp; i <= kLastStar; ++i) state_.ignore[i] = 1;
  }

  ObjectTables Cast(bool progressed = false) {
    CastChart(state_, progressed);
    return state_.objects;
  }

  EngineState state_;
};

TEST_F(CastingState, HarmonicMultipliesEveryLongitude) {
  const ObjectTables base = Cast();
  state_.settings.harmonic = 5;
  const ObjectTables fifth = Cast();
  for (int i = kSun; i <= kLastCusp; ++i) {
    EXPECT_NEAR(0.0, MinDifference(Mod360(5.0 * base.longitude[i]), fifth.longitude[i]), 1e-9) << i;
  }
  EXPECT_EQ(base.cusps, fifth.cusps);  // the houses stay where they are
}

TEST_F(CastingState, ProgressedCastCountsDaysForYears) {
  const ObjectTables natal = Cast();
  state_.progressionInput = state_.chartInput;
  state_.progressionInput.year = 2015;  // thirty years on: thirty days of motion
  state_.settings.progressedZero = 0;
  const ObjectTables progressed = Cast(true);
  const double days = (DayNumber(7, 12, 2015) - DayNumber(7, 12, 1985)) / 365.25;
  // The progressed days replace the hours of UT after the natal day's midnight; the Sun's
  // rate hardly changes near aphelion, so its natal rate carries it within 0.1 degree.
  const double expected_sun = natal.longitude[kSun] + natal.motion[kSun] * kRadToDeg *
                              (days - state_.time.ut_hours / 24.0);
  EXPECT_NEAR(0.0, MinDifference(expected_sun, progressed.longitude[kSun]), 0.1);

  state_.settings.progressedZero = 1;
  const ObjectTables turned = Cast(true);
  for (int i = kSun; i <= kPluto; ++i) {
    EXPECT_NEAR(0.0, MinDifference(progressed.longitude[i] + days, turned.longitude[i]), 1e-9) << i;
  }
  EXPECT_NEAR(0.0, MinDifference(progressed.cusps[10] + days, turned.cusps[10]), 1e-9);
}

TEST_F(CastingState, HypotheticalBodiesMoveOnTheirCircles) {
  for (int i = kFirstHypothetical; i <= kLastHypothetical; ++i) state_.ignore[i] = 0;
  const ObjectTables objects = Cast();
  const double t = state_.time.t_centuries +
                   objects.deltaTSeconds / 86400.0 / kDaysPerCentury;
  // Cupido: 104.5959 deg + 138.5369 deg per century, 40.99837 au from the Sun.
  const auto& cupido = objects.heliocentric[kFirstHypothetical];
  EXPECT_NEAR(Mod360(104.5959 + 138.5369 * t), Mod360(Angle(cupido[0], cupido[1]) * kRadToDeg), 1e-9);
  EXPECT_NEAR(40.99837, std::hypot(cupido[0], cupido[1]), 1e-9);
  // Seen from the Earth, within the parallax of one au at 41 au.
  EXPECT_LT(MinDistance(objects.longitude[kFirstHypothetical],
                        Angle(cupido[0], cupido[1]) * kRadToDeg), 1.5);
  EXPECT_LT(objects.motion[kFirstHypothetical] * kRadToDeg, 0.05);
}

TEST_F(CastingState, IgnoredBodiesAreLeftAtTheClearedValues) {
  state_.ignore[kVenus] = 1;
  state_.ignore[kCeres] = 1;
  const ObjectTables objects = Cast();
  for (int i : {static_cast<int>(kVenus), static_cast<int>(kCeres)}) {
    EXPECT_EQ(0.0, objects.longitude[i]);
    EXPECT_EQ(1.0, objects.motion[i]);
  }
  EXPECT_NE(0.0, objects.longitude[kMars]);
}

TEST_F(CastingState, AsteroidsStayWithTheModelUnderBa) {
  // With the files the layer serves Ceres...Vesta; under flagBa it is not asked, and they keep
  // the elements model's places, as with the files off. Chiron still comes from its file.
  const ObjectTables from_files = Cast();
  state_.settings.flagBa = 1;
  const ObjectTables under_ba = Cast();
  state_.settings.flagBa = 0;
  state_.settings.useEphemerisFiles = 0;
  const ObjectTables model = Cast();
  for (int i = kCeres; i <= kVesta; ++i) {
    EXPECT_EQ(model.longitude[i], under_ba.longitude[i]) << i;
    EXPECT_GT(std::fabs(MinDifference(std::fabs(from_files.longitude[i]), std::fabs(model.longitude[i]))), 1e-3) << i;
  }
  EXPECT_EQ(from_files.longitude[kChiron], under_ba.longitude[kChiron]);
}

TEST(ElementsModel, KeplerOrbitsKeepTheirShape) {
  // The Earth's distance stays between perihelion and aphelion; its speed follows the
  // Gaussian constant (0.0172 au/day at 1 au).
  for (double t : {-0.4, 0.0, 0.85, 2.3}) {
    const StateVector earth = HeliocentricOrbitState(0, t);
    const Vec3& p = earth.position;
    const Vec3& v = earth.velocity;
    const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    EXPECT_GT(r, 0.982);
    EXPECT_LT(r, 1.018);
    EXPECT_NEAR(0.0172, std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 0.0004);
  }
  EXPECT_EQ(-1, ElementRowOfObject(kMoon));
  EXPECT_FALSE(HasElements(ElementRowOfObject(kFirstHypothetical + 1)));  // Hades: not carried
}

TEST(MoonSeries, MeanNodeAgreesWithTheModernMeanElements) {
  // At J2000 (T = 1) ELP-2000/82 gives 125.0445479 deg (Meeus ch. 47); Brown's older
  // polynomial lies within 8".
  EXPECT_NEAR(125.0445479, MoonSeries(1.0).node_deg, 8.0 / 3600.0);
  EXPECT_NEAR(259.1833, MoonSeries(0.0).node_deg, 1e-4);
}

}  // namespace
}  // namespace kelvara::engine
