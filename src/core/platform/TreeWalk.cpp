#include "TreeWalk.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sentravex {
namespace {

constexpr std::size_t keptOpen = 128;

struct Frame {
    int fd = -1;
    dev_t dev = 0;
    ino_t ino = 0;
    std::string name;                 // name inside the parent
    std::vector<std::string> folders; // subfolders still to walk
};

bool identify(Frame& f) {
    struct stat st {};
    if (::fstat(f.fd, &st) != 0)
        return false;
    f.dev = st.st_dev;
    f.ino = st.st_ino;
    return true;
}

// Reads a folder whole; folders are kept for later, everything else goes to the visitor now.
bool readFolder(Frame& f, const TreeVisitor& visitor) {
    int dupFd = ::dup(f.fd);
    if (dupFd < 0)
        return false;
    DIR* dir = ::fdopendir(dupFd);
    if (!dir) {
        ::close(dupFd);
        return false;
    }
    bool ok = true;
    for (;;) {
        errno = 0;
        dirent* e = ::readdir(dir);
        if (!e) {
            ok = errno == 0;
            break;
        }
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        bool folder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = ::fstatat(f.fd, n, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (visitor.entry(f.fd, n, folder) && folder)
            f.folders.emplace_back(n);
    }
    ::closedir(dir);
    return ok;
}

int openFolderAt(int parentFd, const char* name) {
    return ::openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// The path of a folder below the top, from the names of the frames on the way.
std::string below(const std::vector<Frame>& stack, const std::string& name) {
    std::string path;
    for (std::size_t i = 1; i < stack.size(); ++i)
        path += stack[i].name + "/";
    return path + name;
}

} // namespace

bool walkTree(int folderFd, const TreeVisitor& visitor) {
    bool ok = true;
    std::vector<Frame> stack;
    Frame top;
    top.fd = ::dup(folderFd);
    if (top.fd < 0 || !identify(top))
        return false;
    const dev_t device = top.dev;
    ok &= readFolder(top, visitor);
    stack.push_back(std::move(top));

    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.folders.empty()) {
            Frame done = std::move(f);
            stack.pop_back();
            if (stack.empty()) {
                ::close(done.fd);
                break;
            }
            Frame& parent = stack.back();
            if (parent.fd < 0) {
                // Its handle was given up on the way down: reach it again through the child and
                // make sure it is the same folder.
                int up = ::openat(done.fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
                parent.fd = up;
                struct stat st {};
                if (up < 0 || ::fstat(up, &st) != 0 || st.st_dev != parent.dev ||
                    st.st_ino != parent.ino) {
                    // The tree moved under us: stop rather than walk somewhere else.
                    ::close(done.fd);
                    for (auto& g : stack)
                        if (g.fd >= 0)
                            ::close(g.fd);
                    return false;
                }
            }
            ::close(done.fd);
            visitor.leave(parent.fd, done.name);
            continue;
        }
        Frame child;
        child.name = std::move(f.folders.back());
        f.folders.pop_back();
        child.fd = openFolderAt(f.fd, child.name.c_str());
        if (child.fd < 0 || !identify(child)) {
            if (child.fd >= 0)
                ::close(child.fd);
            ok = false;
            visitor.leave(f.fd, child.name);
            continue;
        }
        if (child.dev != device) {
            ::close(child.fd);
            if (visitor.otherFileSystem)
                visitor.otherFileSystem(below(stack, child.name));
            continue;
        }
        if (stack.size() >= keptOpen) {
            ::close(f.fd);
            f.fd = -1;
        }
        ok &= readFolder(child, visitor);
        stack.push_back(std::move(child));
    }
    return ok;
}

} // namespace sentravex
