#pragma once

#include "LinkedFiles.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sentravex {

// A path that could not be removed, and why.
struct PathFailure {
    std::string path;
    std::string error;
};

// What a deletion did. A path that was already absent is no failure.
struct RemoveResult {
    bool existed = false;
    std::uint64_t failures = 0; // entries that could not be removed; the rest were
    std::string error;          // the first failure's reason
    std::int64_t bytes = 0;     // allocated bytes freed: a file whose other links stay frees none
    bool stopped = false;       // the progress asked to stop; what is left stays
    bool ok() const { return failures == 0; }
};

// What a size walk counted, and whether that is all there is.
struct SizeResult {
    std::int64_t bytes = 0;
    // False when a folder or entry beneath could not be read (no permission, no descriptor
    // left): the bytes leave it out.
    bool whole = true;
};

// What a path names on its file system: one entry spelled two ways (on a disk that ignores case)
// or reached through a link has one identity.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};

// Told of each entry a deletion has removed, with its allocated bytes; answering false stops the
// deletion after that entry.
using RemoveProgress = std::function<bool(std::int64_t bytes)>;

// Asked before each entry of a size walk; answering false ends the walk with what it has counted.
using KeepWalking = std::function<bool()>;

// The file operations the logic needs, on logical Mac paths. Virtual so that tests can make any
// of them fail.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Whether something is there, following links (as a file existence test does).
    virtual bool exists(const std::string& path) const = 0;
    virtual bool isDirectory(const std::string& path) const = 0;
    // Whether the path itself is a link (the folders on the way are followed).
    virtual bool isLink(const std::string& path) const = 0;
    // Entries directly inside a folder, hidden ones included, in directory order. Stops at the
    // first error and keeps what it met before; a missing folder or a plain file lists as empty.
    virtual std::vector<std::string> listFolder(const std::string& folder) const = 0;
    // Allocated bytes of a file, or of everything beneath a folder on its mount. No link is
    // followed, and a file with several links counts once: in this walk, and in every walk that
    // shares `counted`. An entry that cannot be read is skipped, the walk goes on, and the result
    // is not whole.
    virtual SizeResult allocatedSize(const std::string& path, const KeepWalking& keepWalking = {},
                                     LinkedFiles* counted = nullptr) const = 0;
    // Deletes a file, link or whole tree. A link is removed itself, never followed, and the walk
    // never enters another mount, nor removes a path that is one; what cannot be removed is counted
    // and the rest is still removed. What vanishes meanwhile is no failure; a path whose folder
    // cannot be opened is.
    virtual RemoveResult removeItem(const std::string& path,
                                    const RemoveProgress& progress = {}) const = 0;
    virtual bool isWritable(const std::string& path) const = 0;
    // The contents of a plain file, following links inside the root; none when it cannot be
    // read, is anything but a plain file (which is then never opened) or holds more than `limit`
    // bytes.
    virtual std::optional<std::string> readFile(const std::string& path,
                                                std::size_t limit) const = 0;
    // 0 when a file or folder can be opened for reading, else the errno that refused it
    // (ENOENT when absent, EPERM or EACCES when the system holds it back).
    virtual int readError(const std::string& path) const = 0;
    // The identity of what a path names, following links inside the root as `exists` does. None
    // when it cannot be reached, and for a file with more than one name (hard links): its
    // identity is not that of one entry, and removing one name leaves the others.
    virtual std::optional<FileIdentity> identity(const std::string& path) const = 0;
};

} // namespace sentravex
