#include "QuorvaneScan.h"

#include "platform/Account.h"
#include "platform/FileSystem.h"

namespace sentravex {
namespace {

QuorvaneScan::Urls diskThenHome(const FileSystem& fs, const std::string& user,
                                const std::string& folder) {
    auto list = QuorvaneScan::getUrlListAt(fs, folder);
    auto home = QuorvaneScan::getUrlListAt(fs, homeFolder(user) + folder);
    list.insert(list.end(), home.begin(), home.end());
    return list;
}

} // namespace

QuorvaneScan::Urls QuorvaneScan::getUrlListAt(const FileSystem& fs, const std::string& folder) {
    return fs.listFolder(folder);
}

QuorvaneScan::Urls QuorvaneScan::getApplicationSupportList(const FileSystem& fs,
                                                           const std::string& user) {
    return diskThenHome(fs, user, "/Library/Application Support");
}

QuorvaneScan::Urls QuorvaneScan::getLaunchAgentsList(const FileSystem& fs,
                                                     const std::string& user) {
    return diskThenHome(fs, user, "/Library/LaunchAgents");
}

QuorvaneScan::Urls QuorvaneScan::getLaunchDaemonsList(const FileSystem& fs,
                                                      const std::string& user) {
    return diskThenHome(fs, user, "/Library/LaunchDaemons");
}

} // namespace sentravex
