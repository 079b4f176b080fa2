#include "app/qt/instance_claim.h"

namespace kelvara::app {

std::function<bool()> SingleInstanceClaim(platform::SingleInstance& instance) {
  return [&instance] {
    if (instance.Acquire()) return true;
    instance.RequestRaise();
    return false;
  };
}

}  // namespace kelvara::app
