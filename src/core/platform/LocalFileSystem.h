#pragma once

#include "FileSystem.h"
#include "Root.h"

namespace sentravex {

// The real file system, reached through a root.
class LocalFileSystem : public FileSystem {
public:
    explicit LocalFileSystem(Root root = Root()) : root_(std::move(root)) {}

    const Root& root() const { return root_; }

    bool exists(const std::string& path) const override;
    bool isDirectory(const std::string& path) const override;
    bool isLink(const std::string& path) const override;
    std::vector<std::string> listFolder(const std::string& folder) const override;
    SizeResult allocatedSize(const std::string& path, const KeepWalking& keepWalking = {},
                             LinkedFiles* counted = nullptr) const override;
    RemoveResult removeItem(const std::string& path,
                            const RemoveProgress& progress = {}) const override;
    bool isWritable(const std::string& path) const override;
    std::optional<std::string> readFile(const std::string& path, std::size_t limit) const override;
    int readError(const std::string& path) const override;
    std::optional<FileIdentity> identity(const std::string& path) const override;

private:
    Root root_;
};

} // namespace sentravex
