// Frames and readers of the initial conditions: every conversion against a printed value.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include <unistd.h>

#include "engine/ephemeris/precession.h"
#include "tools/ephemgen/initial_conditions.h"
#include "tools/ephemgen/minor_bodies.h"
#include "tools/ephemgen/orbit.h"

namespace kelvara::tools {
namespace {

const std::string kFolder = std::string(KELVARA_SOURCE_DIR) + "/tools/ephemgen/data/minor-bodies";
const std::string kSbdb = kFolder + "/sbdb_initial_conditions.csv";
const std::string kGm = kFolder + "/gm_de440.csv";

double Distance(const engine::Vec3& a, const engine::Vec3& b) { return engine::Norm(a - b); }

// The SBDB rows print ecliptic elements and the equivalent ICRF equatorial state: the
// elements give the state read (and turned onto the ecliptic) to the rows' 1e-11 au.
TEST(InitialConditions, SbdbElementsGiveTheirEquatorialStateOnTheEcliptic) {
  const double sunGm = ReadGm(kGm, 10);
  const CsvTable table(kSbdb, {"body", "e", "q_au", "tp_jd_tdb", "node_deg", "argperi_deg", "incl_deg"});
  for (const char* body : {"1 Ceres", "2 Pallas", "2060 Chiron"}) {
    std::size_t row = 0;
    while (table.Text(row, "body") != body) ++row;
    const double e = table.Number(row, "e"), a = table.Number(row, "q_au") / (1.0 - e);
    const EpochState read = ReadSbdbState(kSbdb, body);
    const double meanMotion = std::sqrt(sunGm / (a * a * a));
    const OrbitalElements elements{a,
                                   e,
                                   table.Number(row, "incl_deg") * engine::kDegToRad,
                                   table.Number(row, "node_deg") * engine::kDegToRad,
                                   table.Number(row, "argperi_deg") * engine::kDegToRad,
                                   meanMotion * (read.julianDayTdb - table.Number(row, "tp_jd_tdb"))};
    const engine::StateVector fromElements = StateFromElements(elements, sunGm);
    EXPECT_LT(Distance(fromElements.position, read.state.position), 1e-10) << body;
    EXPECT_LT(Distance(fromElements.velocity, read.state.velocity), 1e-12) << body;
    // And back onto the equator: the state as the file prints it.
    const engine::Vec3 equatorial = engine::EclipticJ2000ToEquatorial(read.state.position);
    const CsvTable printed(kSbdb, {"x_au", "y_au", "z_au"});
    EXPECT_LT(Distance(equatorial, {printed.Number(row, "x_au"), printed.Number(row, "y_au"), printed.Number(row, "z_au")}),
              1e-14) << body;
  }
}

// Horizons' barycentric J2000 state of Ceres less the Sun's, carried back half a day, is the
// heliocentric ecliptic vector Horizons printed for 2000-01-01.0 (another solution: they differ
// by 3e-7 au, 0.02" seen from the Sun; a wrong frame would be off by a whole au).
TEST(InitialConditions, HorizonsBarycentricStatesBecomeHeliocentricEcliptic) {
  const EpochState ceres = ReadHorizonsState(kFolder + "/horizons_barycentric_states.csv", "1 Ceres", 2451545.0);
  const engine::StateVector earlier = PropagateKepler(ceres.state, ReadGm(kGm, 10), -0.5);
  EXPECT_LT(Distance(earlier.position, {-2.377530298472460, 8.007772252240262e-01, 4.628376138999674e-01}), 5e-7);
}

// The MPC elements of Ceres (7 digits) give the state of the JPL solution integrated to the
// MPC epoch within their precision: checked on the size of the orbit and the direction.
TEST(InitialConditions, MpcElementsGiveAnOrbitOfTheirSize) {
  const double sunGm = ReadGm(kGm, 10);
  const EpochState juno = ReadMpcState(kFolder + "/mpc_elements.csv", "(3) Juno", sunGm);
  EXPECT_EQ(juno.julianDayTdb, 2459000.5);
  const double r = engine::Norm(juno.state.position), v2 = engine::Dot(juno.state.velocity, juno.state.velocity);
  EXPECT_NEAR(1.0 / (2.0 / r - v2 / sunGm), 2.6682853, 1e-6);
  // Inclination 12.99105 deg to the ecliptic.
  const engine::Vec3 h = engine::Cross(juno.state.position, juno.state.velocity);
  EXPECT_NEAR(std::acos(h.z / engine::Norm(h)) * engine::kRadToDeg, 12.99105, 1e-6);
}

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& content)
      : path_(std::filesystem::temp_directory_path() / ("kelvara_ic_" + std::to_string(::getpid()) + ".csv")) {
    std::ofstream(path_) << content;
  }
  ~ScratchFile() { std::filesystem::remove(path_); }
  std::string Path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

void ExpectRefusal(const std::function<void()>& read, const std::string& fragment) {
  try {
    read();
    ADD_FAILURE() << "accepted; expected an error containing " << fragment;
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find(fragment), std::string::npos) << error.what();
  }
}

// ReadGm on a file of this text must fail and say why.
void ExpectGmRefusal(const std::string& text, const std::string& fragment) {
  const ScratchFile file(text);
  ExpectRefusal([&] { ReadGm(file.Path(), 10); }, fragment);
}

TEST(InitialConditions, BadFilesAreRefusedWithTheirNameAndFault) {
  ExpectRefusal([] { ReadGm("/nonexistent/gm.csv", 10); }, "cannot open /nonexistent/gm.csv");
  ExpectGmRefusal("naif_id,body\n10,Sun\n", "no column \"gm_au3_d2\"");
  ExpectGmRefusal("naif_id,gm_au3_d2\n10,2.9e-4x\n", "is not a number");
  ExpectGmRefusal("naif_id,gm_au3_d2\n10\n", "line 2 has 1 fields");
  ExpectGmRefusal("naif_id,gm_au3_d2\n10,-1\n", "not positive");
  {
    const ScratchFile hyperbolic("name,epoch_jd_tt,M_deg,argperi_deg,node_deg,incl_deg,e,a_au\n(3) Juno,2459000.5,1,2,3,4,1.5,2.6\n");
    ExpectRefusal([&] { ReadMpcState(hyperbolic.Path(), "(3) Juno", 2.9e-4); }, "elliptic");
  }
  ExpectRefusal([] { ReadSbdbState(kSbdb, "3 Juno"); }, "no state of 3 Juno");
  ExpectRefusal([] { ReadMinorBodySetup("/nonexistent"); }, "/nonexistent/gm_de440.csv");
}

// The tool stops on a bad folder before it writes anything.
TEST(Ephemgen, RefusesBadInitialConditionsAndWritesNothing) {
  const auto out = std::filesystem::temp_directory_path() / ("kelvara_ephemgen_out_" + std::to_string(::getpid()));
  std::filesystem::create_directories(out);
  const std::string messages = out.string() + ".err";
  const std::string command = std::string(KELVARA_BIN_DIR) + "/ephemgen " + std::string(KELVARA_SOURCE_DIR) +
                              "/tools/seriesgen/series/vsop87 /nonexistent " + out.string() + " 2>" + messages;
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_empty(out));
  std::ifstream in(messages);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("cannot open /nonexistent/gm_de440.csv"), std::string::npos) << text;
  std::filesystem::remove_all(out);
  std::filesystem::remove(messages);
}

}  // namespace
}  // namespace kelvara::tools
