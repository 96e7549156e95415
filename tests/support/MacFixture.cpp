#include "MacFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace sentravex::test {
namespace fs = std::filesystem;
namespace {

std::string makeTempFolder(const char* prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    return pattern;
}

void removeAll(const std::string& path) {
    // Our own walk handles trees deeper than any path can name, in linear time.
    if (LocalFileSystem().removeItem(path).ok())
        return;
    std::error_code ec;
    // Folders a test made unreadable must be opened up again before they can be removed.
    for (auto it = fs::recursive_directory_iterator(
             path, fs::directory_options::skip_permission_denied, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        if (it->is_directory(ec) && !it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path, ec);
}

} // namespace

MacFixture::MacFixture(std::string user)
    : user_(std::move(user)), root_(makeTempFolder("sentravex-test-")) {}

MacFixture::~MacFixture() {
    removeAll(root_);
}

std::string MacFixture::home(std::string_view suffix) const {
    return "/Users/" + user_ + std::string(suffix);
}

std::string MacFixture::host(std::string_view logical) const {
    return root_ + std::string(logical);
}

MacFixture& MacFixture::file(std::string_view logical, std::string_view content) {
    fs::path p = host(logical);
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary | std::ios::trunc) << content;
    return *this;
}

MacFixture& MacFixture::fileOfSize(std::string_view logical, std::size_t bytes) {
    return file(logical, std::string(bytes, 'x'));
}

MacFixture& MacFixture::folder(std::string_view logical) {
    fs::create_directories(host(logical));
    return *this;
}

MacFixture& MacFixture::link(std::string_view logical, std::string_view target) {
    fs::path p = host(logical);
    fs::create_directories(p.parent_path());
    fs::create_symlink(fs::path(target), p);
    return *this;
}

std::int64_t blocksOf(const std::string& host) {
    struct stat st {};
    ::lstat(host.c_str(), &st);
    return static_cast<std::int64_t>(st.st_blocks) * 512;
}

Account nobody() {
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwnam_r("nobody", &entry, buffer, sizeof buffer, &found) != 0 || !found)
        throw std::runtime_error("no account named nobody");
    return {found->pw_uid, found->pw_gid};
}

std::string asNobody(const std::function<std::string()>& work) {
    if (::geteuid() != 0)
        return work();
    const Account drop = nobody();
    return inChild([&] {
        return ::setgid(drop.gid) == 0 && ::setuid(drop.uid) == 0 ? work() : std::string();
    });
}

std::string inChild(const std::function<std::string()>& work) {
    int fds[2];
    if (::pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string answer = work();
        for (std::size_t at = 0; at < answer.size();) {
            ssize_t n = ::write(fds[1], answer.data() + at, answer.size() - at);
            if (n <= 0)
                ::_exit(1);
            at += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string answer;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    return answer;
}

SentinelFolder::SentinelFolder() : path_(makeTempFolder("sentravex-sentinel-")) {
    fs::create_directories(path_ + "/Library/Caches/keep");
    std::ofstream(path_ + "/precious.txt") << "do not delete\n";
    std::ofstream(path_ + "/Library/Caches/keep/data.bin") << std::string(5000, 'k');
}

SentinelFolder::~SentinelFolder() {
    removeAll(path_);
}

std::string SentinelFolder::snapshot() const {
    std::vector<std::string> lines;
    for (auto& e : fs::recursive_directory_iterator(path_)) {
        std::string line = e.path().string();
        if (e.is_regular_file()) {
            std::ifstream in(e.path(), std::ios::binary);
            std::stringstream content;
            content << in.rdbuf();
            line += " " + content.str();
        }
        lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    std::string out;
    for (auto& l : lines)
        out += l + "\n";
    return out;
}

} // namespace sentravex::test
