#include "tools/ephemgen/radau.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kelvara::tools {
namespace {

constexpr int kNodes = GaussRadau15::kSubsteps + 1;
// Gauss-Radau spacings on [0, 1] (Everhart 1985, table of h values).
constexpr std::array<double, kNodes> kSpacing = {0.0,
                                                 0.0562625605369221464656521910318,
                                                 0.180240691736892364987579942780,
                                                 0.352624717113169637373907769648,
                                                 0.547153626330555383001448554766,
                                                 0.734210177215410531523210605558,
                                                 0.885320946839095768090359771030,
                                                 0.977520613561287501891174488626};
constexpr int kMaxCorrections = 12;
// Relative change of the highest coefficient at which the corrector has converged (IAS15's
// epsilon_b); round-off keeps it from reaching zero.
constexpr double kConvergence = 1e-16;

using Table = std::array<std::array<double, kNodes>, kNodes>;

// c[k][m]: coefficient of tau^m in prod_{j<k} (tau - h_j), the k-th Newton basis polynomial.
Table NewtonBasisInPowers() {
  Table c{};
  c[0][0] = 1.0;
  for (int k = 1; k < kNodes; ++k) {
    for (int m = 0; m < kNodes; ++m) {
      c[k][m] = (m > 0 ? c[k - 1][m - 1] : 0.0) - kSpacing[k - 1] * c[k - 1][m];
    }
  }
  return c;
}

const Table& Basis() {
  static const Table basis = NewtonBasisInPowers();
  return basis;
}

double Binomial(int n, int k) {
  double result = 1.0;
  for (int i = 1; i <= k; ++i) result = result * (n - k + i) / i;
  return result;
}

}  // namespace

GaussRadau15::GaussRadau15(Acceleration acceleration, std::size_t dimension)
    : acceleration_(std::move(acceleration)),
      dimension_(dimension),
      a0_(dimension),
      xk_(dimension),
      vk_(dimension),
      ak_(dimension) {
  for (auto& g : newton_) g.assign(dimension, 0.0);
  for (auto& b : monomial_) b.assign(dimension, 0.0);
}

void GaussRadau15::MonomialsFromNewton() {
  const Table& c = Basis();
  for (std::size_t i = 0; i < dimension_; ++i) {
    for (int m = 1; m < kNodes; ++m) {
      double sum = 0.0;
      for (int k = m; k < kNodes; ++k) sum += newton_[k - 1][i] * c[k][m];
      monomial_[m - 1][i] = sum;
    }
  }
}

void GaussRadau15::PredictFromLastStep(double dt) {
  // The last step's polynomial continued into this one: a(1 + q s) expanded in powers of s.
  if (lastDt_ == 0.0) return;
  const double q = dt / lastDt_;
  const Table& c = Basis();
  for (std::size_t i = 0; i < dimension_; ++i) {
    std::array<double, kNodes> shifted{};
    for (int j = 1; j < kNodes; ++j) {
      double sum = 0.0;
      for (int m = j; m < kNodes; ++m) sum += Binomial(m, j) * monomial_[m - 1][i];
      shifted[j] = sum * std::pow(q, j);
    }
    // Back to Newton coefficients: the basis matrix is triangular with a unit diagonal.
    for (int k = kNodes - 1; k >= 1; --k) {
      double value = shifted[k];
      for (int l = k + 1; l < kNodes; ++l) value -= newton_[l - 1][i] * c[l][k];
      newton_[k - 1][i] = value;
    }
  }
  MonomialsFromNewton();
}

void GaussRadau15::Substep(int k, double t, const std::vector<double>& x0, const std::vector<double>& v0, double dt) {
  const double tau = kSpacing[k];
  for (std::size_t i = 0; i < dimension_; ++i) {
    // x = x0 + tau dt v0 + (tau dt)^2 (a0/2 + sum b_m tau^m / ((m+1)(m+2))), v likewise.
    double position = 0.0, velocity = 0.0;
    for (int m = kNodes - 1; m >= 1; --m) {
      position = position * tau + monomial_[m - 1][i] / ((m + 1.0) * (m + 2.0));
      velocity = velocity * tau + monomial_[m - 1][i] / (m + 1.0);
    }
    position = position * tau + a0_[i] / 2.0;
    velocity = velocity * tau + a0_[i];
    xk_[i] = x0[i] + tau * dt * v0[i] + tau * tau * dt * dt * position;
    vk_[i] = v0[i] + tau * dt * velocity;
  }
  acceleration_(t + tau * dt, xk_, vk_, ak_);
  // Divided difference of the new node against the earlier ones.
  for (std::size_t i = 0; i < dimension_; ++i) {
    double value = (ak_[i] - a0_[i]) / tau;
    for (int j = 1; j < k; ++j) value = (value - newton_[j - 1][i]) / (tau - kSpacing[j]);
    newton_[k - 1][i] = value;
  }
  MonomialsFromNewton();
}

void GaussRadau15::Step(double& t, std::vector<double>& x, std::vector<double>& v, double dt) {
  if (x.size() != dimension_ || v.size() != dimension_) throw std::invalid_argument("state of the wrong dimension");
  acceleration_(t, x, v, a0_);
  PredictFromLastStep(dt);
  for (int iteration = 0; iteration < kMaxCorrections; ++iteration) {
    const std::vector<double> previousHighest = monomial_[kSubsteps - 1];
    for (int k = 1; k < kNodes; ++k) Substep(k, t, x, v, dt);
    double change = 0.0, scale = 0.0;
    for (std::size_t i = 0; i < dimension_; ++i) {
      change = std::max(change, std::fabs(monomial_[kSubsteps - 1][i] - previousHighest[i]));
      scale = std::max(scale, std::fabs(ak_[i]));
    }
    if (change <= kConvergence * scale) break;
  }
  for (std::size_t i = 0; i < dimension_; ++i) {
    double position = 0.0, velocity = 0.0;
    for (int m = kNodes - 1; m >= 1; --m) {
      position += monomial_[m - 1][i] / ((m + 1.0) * (m + 2.0));
      velocity += monomial_[m - 1][i] / (m + 1.0);
    }
    x[i] += dt * v[i] + dt * dt * (a0_[i] / 2.0 + position);
    v[i] += dt * (a0_[i] + velocity);
  }
  t += dt;
  lastDt_ = dt;
}

void GaussRadau15::IntegrateTo(double& t, std::vector<double>& x, std::vector<double>& v, double tEnd,
                               double maxStepDays) {
  if (!(maxStepDays > 0.0)) throw std::invalid_argument("step must be positive");
  while (t != tEnd) {
    const double remaining = tEnd - t;
    const bool last = std::fabs(remaining) <= maxStepDays;
    Step(t, x, v, last ? remaining : std::copysign(maxStepDays, remaining));
    // Land exactly on the end despite rounding in the sum.
    if (last) t = tEnd;
  }
}

}  // namespace kelvara::tools
