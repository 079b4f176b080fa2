// Gauss-Radau integrator of order 15 for second-order systems x'' = f(t, x, x') (Everhart 1985,
// "An efficient integrator that uses Gauss-Radau spacings"), in the predictor-corrector form of
// Rein & Spiegel 2015 (IAS15), with steps chosen by the caller.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <vector>

namespace kelvara::tools {

class GaussRadau15 {
 public:
  // Fills a (same size as x) with the accelerations at time t, position x and velocity v.
  using Acceleration =
      std::function<void(double t, const std::vector<double>& x, const std::vector<double>& v, std::vector<double>& a)>;

  static constexpr int kSubsteps = 7;

  GaussRadau15(Acceleration acceleration, std::size_t dimension);

  // Advances t, x and v by dt days (either sign).
  void Step(double& t, std::vector<double>& x, std::vector<double>& v, double dt);

  // Steps of at most maxStepDays in length, the last one shortened to end exactly at tEnd.
  void IntegrateTo(double& t, std::vector<double>& x, std::vector<double>& v, double tEnd, double maxStepDays);

 private:
  void PredictFromLastStep(double dt);
  void Substep(int k, double t, const std::vector<double>& x0, const std::vector<double>& v0, double dt);
  void MonomialsFromNewton();

  Acceleration acceleration_;
  std::size_t dimension_;
  std::vector<double> a0_, xk_, vk_, ak_;
  // Newton coefficients g_k of the acceleration over a step, and the same polynomial in powers
  // of the step fraction (coefficient b_m of tau^m, m = 1..7), per component.
  std::array<std::vector<double>, kSubsteps> newton_, monomial_;
  double lastDt_ = 0.0;
};

}  // namespace kelvara::tools
