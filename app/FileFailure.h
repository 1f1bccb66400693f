#pragma once
// Why a run file could not be written or opened, in words a user can act on.

#include <string>

// `error` is errno as the failed save left it; the place itself is looked at
// first, since a careful save may have tidied up after the failing step.
std::string SaveFailureReason(const std::string& path, int error);
std::string OpenFailureReason(const std::string& path, int error);
