#include "LocalBookmarks.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace sentravex {
namespace {

constexpr std::string_view kMagic = "sentravex-bookmark 1";

struct Identity {
    // As written into the data; a device number is signed on some systems.
    unsigned long long device = 0;
    unsigned long long inode = 0;
};

// The identity of the folder at a logical path, or the reason there is none.
std::optional<Identity> folderIdentity(const Root& root, const std::string& folder,
                                       std::string* error = nullptr) {
    UniqueFd fd(root.open(folder, O_RDONLY | O_DIRECTORY));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || ::faccessat(fd.get(), ".", R_OK | X_OK, 0) != 0) {
        if (error)
            *error = folder + ": " + std::strerror(errno);
        return std::nullopt;
    }
    return Identity{static_cast<unsigned long long>(st.st_dev),
                    static_cast<unsigned long long>(st.st_ino)};
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
