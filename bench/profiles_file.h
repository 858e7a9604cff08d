#pragma once

#include <string>
#include <vector>

namespace tavu::bench {

// A profiles file as the hub writes it, indented, with one profile for each
// share, named "Profile 1", "Profile 2", ... Each grants the first share (0 to 1)
// of the list of every permission element a profile can hold.
std::string profilesFile(const std::vector<double>& grantedShares);

} // namespace tavu::bench
