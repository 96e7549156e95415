#include "LocalBookmarks.h"

#include <cerrno>
#include <cstring>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {
namespace {

constexpr std::string_view kMagic = "sentravex-bookmark 1";

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
};

// The identity of the folder at a logical path, or the reason there is none.
std::optional<Identity> folderIdentity(const Root& root, const std::string& folder,
                                       std::string* error = nullptr) {
    auto host = root.resolve(folder);
    struct stat st {};
    int failure = !host ? ELOOP : stat(host->c_str(), &st) == 0 ? 0 : errno;
    if (!failure && !S_ISDIR(st.st_mode))
        failure = ENOTDIR;
    if (!failure && access(host->c_str(), R_OK | X_OK) != 0)
        failure = errno;
    if (failure) {
        if (error)
            *error = folder + ": " + std::strerror(failure);
        return std::nullopt;
    }
    return Identity{st.st_dev, st.st_ino};
}

} // namespace

BookmarkData LocalBookmarks::bookmarkData(const std::string& folder) const {
    BookmarkData result;
    if (auto id = folderIdentity(root_, folder, &result.error)) {
        std::ostringstream out;
        out << kMagic << '\n' << id->device << '\n' << id->inode << '\n' << folder;
        result.data = out.str();
    }
    return result;
}

bool LocalBookmarks::startAccessing(const std::string& data) const {
    std::istringstream in(data);
    std::string magic, folder;
    unsigned long long device = 0, inode = 0;
    if (!std::getline(in, magic) || magic != kMagic || !(in >> device >> inode) || in.get() != '\n')
        return false;
    folder.assign(std::istreambuf_iterator<char>(in), {});
    if (!folder.starts_with('/'))
        return false;
    auto id = folderIdentity(root_, folder);
    return id && id->device == device && id->inode == inode;
}

} // namespace sentravex
