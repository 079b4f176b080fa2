// Frames and readers of the initial conditions: every conversion against a printed value, and
// every fault of the input files refused with the file and line before anything is written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <unistd.h>

#include "engine/ephemeris/precession.h"
#include "tools/ephemgen/de405.h"
#include "tools/ephemgen/initial_conditions.h"
#include "tools/ephemgen/minor_bodies.h"
#include "tools/ephemgen/orbit.h"

namespace kelvara::tools {
namespace {

const std::string kFolder = std::string(KELVARA_SOURCE_DIR) + "/tools/ephemgen/data/minor-bodies";
const std::string kSbdb = kFolder + "/sbdb_initial_conditions.csv";
const std::string kGm = kFolder + "/gm_de440.csv";
const std::string kDe405Folder = std::string(KELVARA_SOURCE_DIR) + "/tools/ephemgen/data/de405";

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
  ExpectGmRefusal("naif_id,gm_au3_d2\n10,2.9e-4x\n", "line 2: \"2.9e-4x\" in column gm_au3_d2 is not a number");
  ExpectGmRefusal("naif_id,gm_au3_d2\n10\n", "line 2 has 1 fields");
  ExpectGmRefusal("naif_id,gm_au3_d2\n10,-1\n", "not positive");
  {
    const ScratchFile hyperbolic("name,epoch_jd_tt,M_deg,argperi_deg,node_deg,incl_deg,e,a_au\n(3) Juno,2459000.5,1,2,3,4,1.5,2.6\n");
    ExpectRefusal([&] { ReadMpcState(hyperbolic.Path(), "(3) Juno", 2.9e-4); }, "elliptic");
  }
  ExpectRefusal([] { ReadSbdbState(kSbdb, "3 Juno"); }, "no state of 3 Juno");
  const De405 de405 = ReadDe405(kDe405Folder);
  ExpectRefusal([&] { ReadIntegrationSetup(de405, "/nonexistent"); }, "/nonexistent/gm_de440.csv");
}

std::string FileText(const std::string& path) {
  std::ifstream in(path);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The text of a DE405 file with line `number` (1 = the header) replaced, or dropped when empty.
std::string WithLine(const std::string& path, int number, const std::string& replacement) {
  std::istringstream in(FileText(path));
  std::string text, line;
  for (int n = 1; std::getline(in, line); ++n) {
    if (n != number) text += line + "\n";
    else if (!replacement.empty()) text += replacement + "\n";
  }
  return text;
}

TEST(De405Files, FaultsAreRefusedWithTheFileAndLine) {
  const std::string constants = kDe405Folder + "/de405_constants.csv";
  const std::string states = kDe405Folder + "/de405_barycentric_states.csv";
  const auto refuseConstants = [&](int line, const std::string& replacement, const std::string& fragment) {
    const ScratchFile file(WithLine(constants, line, replacement));
    ExpectRefusal([&] { ReadDe405Constants(file.Path()); }, fragment);
  };
  // Line 9 holds GM5: missing, in other units, not a number, twice, not positive.
  refuseConstants(9, "", ": no constant GM5");
  refuseConstants(9, "GM5,126712764.1,km^3/s^2", ": line 9: GM5 in \"km^3/s^2\", not au^3/day^2");
  refuseConstants(9, "GM5,2.8e-7.1,au^3/day^2", ": line 9: \"2.8e-7.1\" in column value is not a number");
  refuseConstants(9, "GMS,0.0002959122082855911,au^3/day^2", ": line 9: GMS given twice");
  refuseConstants(9, "GM5,0,au^3/day^2", ": line 9: GM5 is not positive");
  refuseConstants(2, "AU,1.0,au", ": line 2: AU in \"au\", not km");

  const auto refuseStates = [&](int line, const std::string& replacement, const std::string& fragment) {
    const ScratchFile file(WithLine(states, line, replacement));
    ExpectRefusal([&] { OuterPlanetStates(De405{ReadDe405Constants(constants), De405States(file.Path())}, 2451545.0,
                                          Origin::kSun); }, fragment);
  };
  refuseStates(33, "2451545.0,2000-01-01.5,jupiter,597499942.6,408990391.8,160756290.4,-682605.4,878843.2",
               ": line 33 has 8 fields, the header 9");
  refuseStates(33, "2451545.0,2000-01-01.5,jupiter,597499942.6,408990391.8,160756290.4,-682605.4,878843.2,3933e",
               ": line 33: \"3933e\" in column vz_km_per_day is not a number");
  refuseStates(33, "2451545.0,2000-01-01.5,vulcan,1,2,3,4,5,6", ": line 33: unknown body \"vulcan\"");
  refuseStates(33, "2451545.0,2000-01-01.5,saturn,1,2,3,4,5,6", ": line 34: saturn given twice at this epoch");
  refuseStates(33, "", ": no state of jupiter at JD 2451545");
}

// The tool stops on a bad input before it writes anything, and says where the fault is.
TEST(Ephemgen, RefusesBadInputsAndWritesNothing) {
  const auto scratch = std::filesystem::temp_directory_path() / ("kelvara_ephemgen_in_" + std::to_string(::getpid()));
  std::filesystem::create_directories(scratch);
  std::filesystem::copy_file(kDe405Folder + "/de405_constants.csv", scratch / "de405_constants.csv");
  std::ofstream(scratch / "de405_barycentric_states.csv")
      << WithLine(kDe405Folder + "/de405_barycentric_states.csv", 36, "2451545.0,2000-01-01.5,neptune,1,2,3,4,5,x");
  const std::string source = KELVARA_SOURCE_DIR;
  const std::string vsop = source + "/tools/seriesgen/series/vsop87 ";
  struct Case {
    std::string de405, minorBodies, message;
  };
  const Case cases[] = {
      {source + "/tools/ephemgen/data/de405", "/nonexistent", "cannot open /nonexistent/gm_de440.csv"},
      {scratch.string(), kFolder, (scratch / "de405_barycentric_states.csv").string() + ": line 36: \"x\""}};
  for (const Case& c : cases) {
    const auto out = scratch / "out";
    std::filesystem::create_directories(out);
    const std::string messages = (scratch / "err.txt").string();
    const std::string command = std::string(KELVARA_BIN_DIR) + "/ephemgen " + vsop + c.de405 + " " + c.minorBodies +
                                " " + out.string() + " 2>" + messages;
    EXPECT_NE(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(std::filesystem::is_empty(out)) << command;
    const std::string text = FileText(messages);
    EXPECT_NE(text.find(c.message), std::string::npos) << text;
  }
  std::filesystem::remove_all(scratch);
}

}  // namespace
}  // namespace kelvara::tools
