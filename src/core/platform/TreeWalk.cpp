#include "TreeWalk.h"

#include "EntryStatus.h"
#include "FolderReading.h"
#include "UniqueFd.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sentravex {
namespace {

constexpr std::size_t keptOpen = 128;

bool isDot(const char* n) {
    return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0));
}

struct Frame {
    UniqueFd fd;
    EntryStatus status;
    std::string name;                 // name inside the parent
    std::vector<std::string> folders; // subfolders still to walk
};

bool identify(Frame& f) {
    return entryStatus(f.fd.get(), "", f.status);
}

bool sameFolder(const EntryStatus& a, const EntryStatus& b) {
    return a.st.st_dev == b.st.st_dev && a.st.st_ino == b.st.st_ino;
}

} // namespace

bool readFolder(int folderFd, const WalkHooks& hooks, bool& stopped,
                std::vector<std::string>& folders) {
    UniqueFd copy(::dup(folderFd));
    DIR* dir = copy ? ::fdopendir(copy.get()) : nullptr;
    if (!dir)
        return false;
    copy.release();
    bool ok = true;
    for (;;) {
        errno = 0;
        dirent* e = ::readdir(dir);
        if (!e) {
            ok = errno == 0;
            break;
        }
        const char* n = e->d_name;
        if (isDot(n))
            continue;
        if (hooks.keepWalking && !hooks.keepWalking()) {
            stopped = true;
            break;
        }
        bool folder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = ::fstatat(folderFd, n, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
        }
        if (folder)
            folders.emplace_back(n);
        else if (hooks.entry)
            hooks.entry(folderFd, n);
    }
    ::closedir(dir);
    return ok;
}

namespace {

void leave(const WalkHooks& hooks, int parentFd, const std::string& name) {
    if (hooks.folderDone)
        hooks.folderDone(parentFd, name.c_str());
}

// The path of a folder below the top, from the names of the frames on the way.
std::string below(const std::vector<Frame>& stack, const std::string& name) {
    std::string path;
    for (std::size_t i = 1; i < stack.size(); ++i)
        path.append(stack[i].name).append("/");
    return path + name;
}

} // namespace

bool walkTree(int folderFd, const WalkHooks& hooks) {
    bool ok = true;
    bool stopped = false;
    std::vector<Frame> stack;
    Frame top;
    top.fd = UniqueFd(::dup(folderFd));
    if (!top.fd || !identify(top))
        return false;
    const EntryStatus topStatus = top.status;
    ok &= readFolder(top.fd.get(), hooks, stopped, top.folders);
    stack.push_back(std::move(top));

    while (!stack.empty() && !stopped) {
        Frame& f = stack.back();
        if (f.folders.empty()) {
            Frame done = std::move(f);
            stack.pop_back();
            if (stack.empty())
                break;
            Frame& parent = stack.back();
            if (!parent.fd) {
                // Its handle was given up on the way down: reach it again through the child and
                // make sure it is the same folder.
                parent.fd =
                    UniqueFd(::openat(done.fd.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
                EntryStatus reached;
                if (!parent.fd || !entryStatus(parent.fd.get(), "", reached) ||
                    !sameFolder(reached, parent.status))
                    return false; // the tree moved under us: stop rather than walk elsewhere
            }
            done.fd.reset();
            leave(hooks, parent.fd.get(), done.name);
            continue;
        }
        Frame child;
        child.name = std::move(f.folders.back());
        f.folders.pop_back();
        child.fd = UniqueFd(::openat(f.fd.get(), child.name.c_str(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!child.fd || !identify(child)) {
            ok = false;
            leave(hooks, f.fd.get(), child.name);
            continue;
        }
        if (beyondMount(topStatus, child.status)) {
            if (hooks.otherFileSystem)
                hooks.otherFileSystem(below(stack, child.name));
            continue;
        }
        if (stack.size() >= keptOpen)
            f.fd.reset();
        ok &= readFolder(child.fd.get(), hooks, stopped, child.folders);
        stack.push_back(std::move(child));
    }
    return ok;
}

} // namespace sentravex
