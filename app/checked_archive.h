// The checked archive reader of the chart workspace, under the names the documents and
// tables of the program use.
#pragma once

#include "app/messages.h"
#include "workspace/checked_archive.h"

namespace kelvara::app {

using workspace::BadValueError;
using workspace::BadValueReason;
using workspace::CheckedArchiveReader;
using workspace::DecodeChecked;

}  // namespace kelvara::app
