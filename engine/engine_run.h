// The engine's single entry: a vector of text switches in, one chart's positions out.
#pragma once

namespace kelvara::engine {

// argv[0] is "---" followed by the program's folder with its trailing separator; it is
// rewritten in place into that folder. argv[1..argc-1] are switches and their arguments.
// Fills objects 0..32 of each non-null array: longitude in degrees (negative when
// retrograde), daily motion in degrees per day, latitude in degrees. Always returns 0;
// a vector that does not parse leaves the positions of the previous run.
// Not re-entrant: one run at a time, from one thread.
int EngineRun(int argc, char** argv, double* outLongitude, double* outSpeed,
              double* outLatitude);

}  // namespace kelvara::engine
