#pragma once

#include "core/build_stamp.h"

namespace sdelka {

// Brings the program up: the connection from the command line, the screens in their order,
// the login window; returns when the program ends.
int runSdelka(int argc, char** argv, BuildStamp build);

} // namespace sdelka
