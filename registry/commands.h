// Command identifiers of the editor's menu, as its resources number them.
#pragma once

namespace kelvara::vornal {

enum class Command : int {
  Find = 32776,
  NewKey = 32777,
  About = 32778,
  Exit = 32779,
  NewString = 32780,
  NewBinary = 32781,
  NewDword = 32782,
  NewMultiString = 32783,
  NewExpString = 32784,
  SelectPrevious = 32787,
  SelectNext = 32788,
  Refresh = 32790,
  DeleteSelected = 32791,
};

}  // namespace kelvara::vornal
