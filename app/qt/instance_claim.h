// The single-instance step of the start in the form StartUp takes it.
#pragma once

#include <functional>

#include "platform/qt/single_instance.h"

namespace kelvara::app {

// True for the first instance; a later one asks the first to raise its window and
// gets false, so that its start ends there.
std::function<bool()> SingleInstanceClaim(platform::SingleInstance& instance);

}  // namespace kelvara::app
