#include "engine/elements.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"

namespace kelvara::engine {
namespace {

// Gaussian gravitational constant: mean motion of a 1 au orbit, radians per day.
constexpr double kGaussRadPerDay = 0.01720209;
// Kepler's equation is iterated a fixed number of times, without a convergence test.
constexpr int kKeplerIterations = 5;
// Far outside the centuries the polynomials were fitted to, an eccentricity can leave the
// ellipse; it is held inside so that every date still gives a finite place.
constexpr double kMaxEccentricity = 0.99;

constexpr int kFirstPlanetRow = 1;  // Mercury; objects 3..15 follow in order
constexpr int kJupiterRow = 4;
constexpr int kSaturnRow = 5;
constexpr int kFirstHypotheticalRow = 14;

// Sun, Mercury ... Saturn: Meeus, Astronomical Formulae for Calculators (1979), ch. 18,
// mean equinox of date (M derived as L - w - N for Jupiter and Saturn).
// Uranus, Neptune, Pluto: Standish, Keplerian elements for approximate positions (JPL,
// table 1, a fit to DE405 over 1800-2050), moved to the equinox of date by the general
// precession 5029.0966"/cy.
// Chiron: JPL SBDB solution #128 (epoch 2010-03-19); Ceres ... Vesta: MPC elements of
// epoch 2020-05-31; both J2000 ecliptic, nodes moved by the general precession.
// Hypothetical bodies: mean longitude at 1900 and its rate per century, distance.
constexpr std::array<ElementRow, kElementRows> kElementTable = {{
    {358.47583, 35999.04975, -0.000150, 0.01675104, -0.0000418, -0.000000126, 1.0,
     101.22083, 1.719175, 0.000452778, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    {102.27938, 149472.51529, 0.000007, 0.20561421, 0.00002046, -0.00000003, 0.3870986,
     28.753753, 0.3702806, 0.0001208, 47.145944, 1.1852083, 0.0001739, 7.002881, 0.0018608,
     -0.0000183},
    {212.60322, 58517.80387, 0.001286, 0.00682069, -0.00004774, 0.000000091, 0.7233316,
     54.384186, 0.5081861, -0.0013864, 75.779647, 0.89985, 0.00041, 3.393631, 0.0010058,
     -0.000001},
    {319.51913, 19139.85475, 0.000181, 0.0933129, 0.000092064, -0.000000077, 1.5236883,
     285.431761, 1.0697667, 0.0001313, 48.786442, 0.7709917, -0.0000014, 1.850333, -0.000675,
     0.0000126},
    {225.328285, 3034.692024, -0.00072157, 0.04833475, 0.00016418, -0.0000004676, 5.202561,
     273.277558, 0.5994317, 0.00070405, 99.443414, 1.01053, 0.00035222, 1.308736, -0.0056961,
     0.0000039},
    {175.466163, 1221.551468, -0.00050186, 0.05589232, -0.0003455, -0.000000728, 9.554747,
     338.3078, 1.0852207, 0.00097854, 112.790414, 0.8731951, -0.00015218, 2.492519,
     -0.0039189, -0.00001549},
    {74.20985317, 428.07397504, 0.0, 0.04730141, -0.00004397, 0.0, 19.18916464, 96.57170435,
     0.36564692, 0.0, 72.57754786, 1.43937717, 0.0, 0.77506722, -0.00242939, 0.0},
    {41.13334015, 218.78186789, 0.0, 0.00853943, 0.00005105, 0.0, 30.06992276, 273.49786453,
     -0.317328, 0.0, 130.3923411, 1.39188464, 0.0, 1.76968975, 0.00035372, 0.0},
    {229.61168747, 145.24843457, 0.0, 0.2487756, 0.0000517, 0.0, 39.48211675, 113.79377405,
     -0.0287946, 0.0, 108.91880036, 1.38513648, 0.0, 17.14001206, 0.00004818, 0.0},
    {37.946965, 709.796604, 0.0, 0.3786646, 0.0, 0.0, 13.7016726, 339.861293, 0.0, 0.0,
     207.951297, 1.39697128, 0.0, 6.929093, 0.0, 0.0},
    {108.216522, 7818.544787, 0.0, 0.0775571, 0.0, 0.0, 2.7676569, 73.73161, 0.0, 0.0,
     78.890009, 1.39697128, 0.0, 10.58862, 0.0, 0.0},
    {121.974369, 7792.410784, 0.0, 0.2299723, 0.0, 0.0, 2.7738415, 310.20237, 0.0, 0.0,
     171.627769, 1.39697128, 0.0, 34.83293, 0.0, 0.0},
    {260.182529, 8259.350402, 0.0, 0.2569364, 0.0, 0.0, 2.6682853, 248.06618, 0.0, 0.0,
     168.454489, 1.39697128, 0.0, 12.99105, 0.0, 0.0},
    {143.333008, 9916.777469, 0.0, 0.0885158, 0.0, 0.0, 2.3620141, 150.87484, 0.0, 0.0,
     102.412109, 1.39697128, 0.0, 7.1419, 0.0, 0.0},
    {104.5959, 138.5369, 0.0, 0.0, 0.0, 0.0, 40.99837, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
     0.0},
    {}, {}, {}, {}, {}, {},
    {165.3595, 48.6486, 0.0, 0.0, 0.0, 0.0, 83.493733, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
     0.0},
}};

enum Column { kM0 = 0, kE0 = 3, kA = 6, kW0 = 7, kN0 = 10, kI0 = 13 };

enum class Coordinate { kLongitude, kLatitude };

// amplitude x cos(j Mj + s Ms + phase), degrees, added to the heliocentric longitude or
// latitude; Mj, Ms the mean anomalies of Jupiter and Saturn.
struct PerturbationTerm {
  int row;
  Coordinate coordinate;
  int j, s;
  double phase_deg;
  double amplitude_deg;
};

// Schlyter, "How to compute planetary positions" (the great inequality and its companions),
// sines written as cosines with the phase moved by -90 degrees. Uranus and Neptune need none:
// their elements are fitted over two centuries.
constexpr std::array<PerturbationTerm, 14> kPerturbations = {{
    {kJupiterRow, Coordinate::kLongitude, 2, -5, -67.6 - 90.0, -0.332},
    {kJupiterRow, Coordinate::kLongitude, 2, -2, 21.0 - 90.0, -0.056},
    {kJupiterRow, Coordinate::kLongitude, 3, -5, 21.0 - 90.0, 0.042},
    {kJupiterRow, Coordinate::kLongitude, 1, -2, -90.0, -0.036},
    {kJupiterRow, Coordinate::kLongitude, 1, -1, 0.0, 0.022},
    {kJupiterRow, Coordinate::kLongitude, 2, -3, 52.0 - 90.0, 0.023},
    {kJupiterRow, Coordinate::kLongitude, 1, -5, -69.0 - 90.0, -0.016},
    {kSaturnRow, Coordinate::kLongitude, 2, -5, -67.6 - 90.0, 0.812},
    {kSaturnRow, Coordinate::kLongitude, 2, -4, -2.0, -0.229},
    {kSaturnRow, Coordinate::kLongitude, 1, -2, -3.0 - 90.0, 0.119},
    {kSaturnRow, Coordinate::kLongitude, 2, -6, -69.0 - 90.0, 0.046},
    {kSaturnRow, Coordinate::kLongitude, 1, -3, 32.0 - 90.0, 0.014},
    {kSaturnRow, Coordinate::kLatitude, 2, -4, -2.0, -0.020},
    {kSaturnRow, Coordinate::kLatitude, 2, -6, -49.0 - 90.0, 0.018},
}};

// q0 + q1 T + q2 T^2 of the three columns from `first`.
double Polynomial(const ElementRow& row, int first, double t) {
  return row[first] + t * (row[first + 1] + t * row[first + 2]);
}

double MeanAnomalyDeg(int row, double t) { return Polynomial(kElementTable[row], kM0, t); }

// Fixed-point iteration E = M + e sin E from E = M (radians).
double EccentricAnomalyRad(double mean_anomaly_rad, double e) {
  double ecc = mean_anomaly_rad;
  for (int i = 0; i < kKeplerIterations; ++i) ecc = mean_anomaly_rad + e * std::sin(ecc);
  return ecc;
}

// Orbital plane to ecliptic: by the argument of perihelion, the inclination, the node.
Vec3 ToEcliptic(const Vec3& v, double w_rad, double i_rad, double node_rad) {
  return RotateAboutZ(RotateAboutX(RotateAboutZ(v, w_rad), i_rad), node_rad);
}

StateVector KeplerState(const ElementRow& row, double t) {
  const double e = std::clamp(Polynomial(row, kE0, t), 0.0, kMaxEccentricity);
  const double a = row[kA];
  const double m = ModTwoPi(Polynomial(row, kM0, t) * kDegToRad);
  const double ecc = EccentricAnomalyRad(m, e);
  const double root = std::sqrt(1.0 - e * e);
  const double rate = kGaussRadPerDay / std::pow(a, 1.5) / (1.0 - e * std::cos(ecc));
  const Vec3 p{a * (std::cos(ecc) - e), a * root * std::sin(ecc), 0.0};
  const Vec3 v{-a * std::sin(ecc) * rate, a * root * std::cos(ecc) * rate, 0.0};
  const double w = Polynomial(row, kW0, t) * kDegToRad;
  const double i = Polynomial(row, kI0, t) * kDegToRad;
  const double node = Polynomial(row, kN0, t) * kDegToRad;
  return {ToEcliptic(p, w, i, node), ToEcliptic(v, w, i, node)};
}

struct AngleCorrection {
  double longitude_deg = 0.0;
  double latitude_deg = 0.0;
};

AngleCorrection Perturbation(int row, double t) {
  AngleCorrection sum;
  const double mj = MeanAnomalyDeg(kJupiterRow, t);
  const double ms = MeanAnomalyDeg(kSaturnRow, t);
  for (const PerturbationTerm& term : kPerturbations) {
    if (term.row != row) continue;
    const double arg = term.j * mj + term.s * ms + term.phase_deg;
    const double value = term.amplitude_deg * std::cos(Mod360(arg) * kDegToRad);
    (term.coordinate == Coordinate::kLongitude ? sum.longitude_deg : sum.latitude_deg) += value;
  }
  return sum;
}

// The correction turns the position in longitude and tilts it in latitude; the velocity
// turns with it (the corrections' own rates are below the model's precision).
void ApplyPerturbation(const AngleCorrection& c, StateVector& s) {
  const Vec3& p = s.position;
  const double in_plane = std::hypot(p.x, p.y);
  const double r = std::hypot(in_plane, p.z);
  const double lat = std::atan2(p.z, in_plane) + c.latitude_deg * kDegToRad;
  const double lon = std::atan2(p.y, p.x) + c.longitude_deg * kDegToRad;
  s.position = {r * std::cos(lat) * std::cos(lon), r * std::cos(lat) * std::sin(lon),
                   r * std::sin(lat)};
  s.velocity = RotateAboutZ(s.velocity, c.longitude_deg * kDegToRad);
}

StateVector CircleState(const ElementRow& row, double t) {
  const double lon = Mod360(row[kM0] + row[kM0 + 1] * t) * kDegToRad;
  const double rate_rad_per_day = row[kM0 + 1] * kDegToRad / kDaysPerCentury;
  const double a = row[kA];
  return {{a * std::cos(lon), a * std::sin(lon), 0.0},
          {-a * std::sin(lon) * rate_rad_per_day, a * std::cos(lon) * rate_rad_per_day, 0.0}};
}

ElementPlace GeocentricPlace(const Vec3& g, const Vec3& v, const Vec3& helio) {
  const double plane2 = g.x * g.x + g.y * g.y;
  ElementPlace place;
  place.longitude_deg = Mod360(Angle(g.x, g.y) * kRadToDeg);
  place.latitude_deg = std::atan2(g.z, std::sqrt(plane2)) * kRadToDeg;
  place.motion_rad_per_day = (g.x * v.y - g.y * v.x) / plane2;
  place.distance_au = std::sqrt(plane2 + g.z * g.z);
  place.heliocentric_au = helio;
  return place;
}

}  // namespace

const std::array<ElementRow, kElementRows>& ElementTable() { return kElementTable; }

int ElementRowOfObject(int object_index) {
  if (object_index == 1) return 0;
  if (object_index >= 3 && object_index <= 15) return object_index - 3 + kFirstPlanetRow;
  if (object_index >= 33 && object_index <= 40) return object_index - 33 + kFirstHypotheticalRow;
  return -1;
}

bool HasElements(int row) {
  return row >= 0 && row < kElementRows && kElementTable[row][kA] > 0.0;
}

StateVector HeliocentricOrbitState(int row, double t) {
  if (row >= kFirstHypotheticalRow) return CircleState(kElementTable[row], t);
  StateVector state = KeplerState(kElementTable[row], t);
  if (row == kJupiterRow || row == kSaturnRow) ApplyPerturbation(Perturbation(row, t), state);
  return state;
}

ElementPlace ElementsPosition(int object_index, double t) {
  return ElementsPosition(object_index, t, HeliocentricOrbitState(0, t));
}

ElementPlace ElementsPosition(int object_index, double t, const StateVector& earth) {
  const int row = ElementRowOfObject(object_index);
  if (!HasElements(row)) return {};
  if (row == 0) {
    // The Sun is seen from the Earth opposite the Earth's heliocentric place.
    return GeocentricPlace(-1.0 * earth.position, -1.0 * earth.velocity, earth.position);
  }
  const StateVector body = HeliocentricOrbitState(row, t);
  return GeocentricPlace(body.position - earth.position, body.velocity - earth.velocity, body.position);
}

double NutationInLongitudeDeg(double t) {
  const double t2000 = t - 1.0;  // the terms' arguments count from J2000
  const double node = Mod360(125.04452 - 1934.136261 * t2000) * kDegToRad;
  const double sun = Mod360(280.4665 + 36000.7698 * t2000) * kDegToRad;
  const double moon = Mod360(218.3165 + 481267.8813 * t2000) * kDegToRad;
  const double arcsec = -17.20 * std::sin(node) - 1.32 * std::sin(2.0 * sun) -
                        0.23 * std::sin(2.0 * moon) + 0.21 * std::sin(2.0 * node);
  return arcsec / 3600.0;
}

double PlanetaryAberrationDeg(double motion_rad_per_day, double distance_au) {
  return -motion_rad_per_day * kRadToDeg * kLightDaysPerAu * distance_au;
}

}  // namespace kelvara::engine
