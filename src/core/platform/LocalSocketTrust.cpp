#include "LocalSocketTrust.h"

#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {

bool isPrivateFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

} // namespace sentravex
