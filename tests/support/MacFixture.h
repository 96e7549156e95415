#pragma once

#include "platform/LocalFileSystem.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace sentravex::test {

// A fake Mac tree under a fresh temporary root, removed again at the end of the test.
class MacFixture {
public:
    explicit MacFixture(std::string user = "alice");
    ~MacFixture();
    MacFixture(const MacFixture&) = delete;
    MacFixture& operator=(const MacFixture&) = delete;

    const std::string& root() const { return root_; }
    const std::string& user() const { return user_; }
    // "/Users/<user>" followed by the suffix.
    std::string home(std::string_view suffix = {}) const;
    // Where a logical path lies on this machine.
    std::string host(std::string_view logical) const;
    LocalFileSystem fileSystem() const { return LocalFileSystem(Root(root_)); }

    // Each makes the missing parent folders.
    MacFixture& file(std::string_view logical, std::string_view content = {});
    MacFixture& fileOfSize(std::string_view logical, std::size_t bytes);
    MacFixture& folder(std::string_view logical);
    MacFixture& link(std::string_view logical, std::string_view target);

private:
    std::string user_;
    std::string root_;
};

// The bytes the file system allocated to one entry on this machine (its blocks, links not
// followed): what a size must add up to.
std::int64_t blocksOf(const std::string& host);

// The unprivileged account the tests drop to when they run as the superuser.
struct Account {
    uid_t uid;
    gid_t gid;
};
Account nobody();

// Runs `work` as that account: in a child process when the tests run as the superuser, whom
// permissions never stop, else right here. Answers what `work` answered.
std::string asNobody(const std::function<std::string()>& work);

// Runs `work` in a child process, whose limits and mounts may change without touching the tests;
// answers what it answered. The child ends without running any destructor.
std::string inChild(const std::function<std::string()>& work);

// A temporary folder outside any fixture root, for what links must never reach.
class SentinelFolder {
public:
    SentinelFolder();
    ~SentinelFolder();
    const std::string& path() const { return path_; }
    // A listing of every entry with its size and content, to compare before and after.
    std::string snapshot() const;

private:
    std::string path_;
};

} // namespace sentravex::test
