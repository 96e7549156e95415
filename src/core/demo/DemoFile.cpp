#include "DemoFile.h"

#include "platform/Account.h"

#include <filesystem>
#include <fstream>

namespace sentravex {

bool writeDemoFiles(const std::string& hostFolder, const std::string& user,
                    std::span<const DemoFile> files) {
    namespace fs = std::filesystem;
    const std::string home = homeFolder(user);
    bool ok = true;
    for (const auto& f : files) {
        std::string logical(f.path);
        if (logical.front() == '~')
            logical.replace(0, 1, home);
        std::string content(f.content);
        for (auto at = content.find("{home}"); at != std::string::npos; at = content.find("{home}"))
            content.replace(at, 6, home);
        fs::path target = fs::path(hostFolder) / logical.substr(1);
        std::error_code ec;
        fs::create_directories(target.parent_path(), ec);
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out << content;
        ok &= !ec && out.good();
    }
    return ok;
}

} // namespace sentravex
