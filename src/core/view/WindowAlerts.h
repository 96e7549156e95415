#pragma once

#include "FailureDetails.h"
#include "access/AlertPanel.h"

#include <string>
#include <vector>

namespace sentravex {

// What "Show Details" of a removal shows: every path left "Not Removed" and why, open at once.
AlertMessage notRemovedAlert(const std::vector<FailedPath>& notRemoved);

// The help page or a find's folder that no browser or file viewer would open: the user is told
// where to go by hand instead of nothing happening.
AlertMessage helpNotOpenedAlert(const std::string& url);
AlertMessage folderNotShownAlert(const std::string& path);

// A root that is no Mac disk or lacks the user's home folder (`problem` says which), before a
// scan or a cleaner build that then does not start.
AlertMessage macDiskAlert(const std::string& problem);

} // namespace sentravex
