#include "Options.h"

#include "access/MacDisk.h"
#include "platform/Account.h"

#include <iostream>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

namespace sentravex::cli {

void MacOptions::addTo(CLI::App& command) {
    command.add_option("--root", root, "Folder laid out like a Mac disk (default: /)");
    command.add_option("--user", user, "Login name whose home folder to use");
    command.add_flag("--json", json, "Print one JSON document");
}

LocalFileSystem MacOptions::openFileSystem() const {
    struct stat st {};
    if (::stat(root.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw UsageError("not a folder: " + root);
    return LocalFileSystem(Root(root));
}

std::string MacOptions::userName() const {
    return checkedUser(user);
}

MacDisk MacOptions::openMacDisk() const {
    MacDisk disk{openFileSystem(), userName()};
    if (auto problem = macDiskProblem(disk.fs, disk.user, root))
        throw UsageError(*problem);
    return disk;
}

std::string checkedUser(const std::string& given) {
    if (!given.empty()) {
        if (!validLoginName(given))
            throw UsageError("not a login name: " + given);
        return given;
    }
    auto name = loginName();
    if (!validLoginName(name))
        throw UsageError("the login name of this account is unknown; give --user");
    return name;
}

void printJson(const nlohmann::ordered_json& doc) {
    std::cout << doc.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

} // namespace sentravex::cli
