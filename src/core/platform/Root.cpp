#include "Root.h"

#include <deque>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace sentravex {
namespace {

constexpr int maxLinks = 40; // as the kernel's own ELOOP limit

void splitInto(std::string_view path, std::deque<std::string>& out, bool front) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= path.size()) {
        std::size_t j = path.find('/', i);
        if (j == std::string_view::npos)
            j = path.size();
        if (j > i)
            parts.emplace_back(path.substr(i, j - i));
        i = j + 1;
    }
    if (front)
        out.insert(out.begin(), parts.begin(), parts.end());
    else
        out.insert(out.end(), parts.begin(), parts.end());
}

std::optional<std::string> readLink(const std::string& path) {
    std::string target(256, '\0');
    for (;;) {
        ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0)
            return std::nullopt;
        if (static_cast<std::size_t>(n) < target.size()) {
            target.resize(static_cast<std::size_t>(n));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

} // namespace

Root::Root(std::string hostPath) : host_(std::move(hostPath)) {
    while (host_.size() > 1 && host_.back() == '/')
        host_.pop_back();
    if (host_.empty())
        host_ = "/";
}

std::string Root::hostPathOf(std::string_view logical) const {
    std::string out = isSystemRoot() ? std::string() : host_;
    std::deque<std::string> parts;
    splitInto(logical, parts, false);
    for (const auto& p : parts)
        out += "/" + p;
    return out.empty() ? "/" : out;
}

std::optional<std::string> Root::resolve(std::string_view logical) const {
    return walk(logical, true);
}

std::optional<std::string> Root::resolveParent(std::string_view logical) const {
    return walk(logical, false);
}

std::optional<std::string> Root::walk(std::string_view logical, bool followLast) const {
    std::deque<std::string> pending;
    splitInto(logical, pending, false);
    const std::string base = isSystemRoot() ? std::string() : host_;
    std::vector<std::string> done;
    std::string current = base; // host path of `done`
    int links = 0;

    auto rebuild = [&] {
        current = base;
        for (const auto& d : done)
            current += "/" + d;
    };

    while (!pending.empty()) {
        std::string part = std::move(pending.front());
        pending.pop_front();
        if (part == ".")
            continue;
        if (part == "..") {
            if (!done.empty()) {
                done.pop_back();
                rebuild();
            }
            continue;
        }
        std::string candidate = current + "/" + part;
        struct stat st {};
        bool last = pending.empty();
        if ((followLast || !last) && ::lstat(candidate.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
            if (++links > maxLinks)
                return std::nullopt;
            auto target = readLink(candidate);
            if (!target)
                return std::nullopt;
            if (!target->empty() && target->front() == '/') {
                done.clear();
                rebuild();
            }
            splitInto(*target, pending, true);
            continue;
        }
        done.push_back(std::move(part));
        current = std::move(candidate);
    }
    return current.empty() ? std::string("/") : current;
}

} // namespace sentravex
