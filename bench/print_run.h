// One run of the program through the real window and offices, for the print
// benchmark's driver: `prints` prints in a row in the given scenario
// ("closed" or "running": the operator's Calc before each print).
#pragma once

#include <string>

namespace cubrix::bench {

int printRun(int argc, char** argv, const std::string& scenario, int prints);

}  // namespace cubrix::bench
