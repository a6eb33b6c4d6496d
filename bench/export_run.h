// One run of the program through the real window and offices, for the export
// benchmark's driver: `exports` exports in a row in the given scenario
// ("closed" or "running": the operator's Calc before each export).
#pragma once

#include <string>

namespace cubrix::bench {

int exportRun(int argc, char** argv, const std::string& scenario, int exports);

}  // namespace cubrix::bench
