// The folder for temporary files: the configured one, else $TMPDIR (default /tmp) +
// "/kora-" + $USER, created (owner only) when missing.
#pragma once

#include <string>

namespace kora {

struct Configuration;

// The folder, without a trailing "/"; "" when it does not exist and cannot be created.
std::string TempFolder(const Configuration& config);

} // namespace kora
