#pragma once

#include "Bookmarks.h"
#include "platform/Root.h"

namespace sentravex {

// Bookmarks where no application sandbox holds access back: the data names the folder with its
// device and inode numbers, so that a later launch sees whether the same folder is still there.
class LocalBookmarks : public Bookmarks {
public:
    explicit LocalBookmarks(Root root) : root_(std::move(root)) {}

    BookmarkData bookmarkData(const std::string& folder) const override;
    // Yes when the folder is where it was, is the same folder and can be read.
    bool startAccessing(const std::string& data) const override;

private:
    Root root_;
};

} // namespace sentravex
