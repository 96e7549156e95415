#include "remote/VersionApproval.h"

#include <chrono>
#include <gtest/gtest.h>
#include <httplib.h>
#include <mutex>
#include <sstream>
#include <thread>

namespace sentravex {
namespace {

// A configuration server on 127.0.0.1 for the length of one test.
class ConfigServer {
public:
    ConfigServer(int status, std::string body) {
        server_.set_read_timeout(5);
        server_.Get(".*",
                    [this, status, body](const httplib::Request& req, httplib::Response& res) {
                        std::lock_guard lock(mutex_);
                        paths_.push_back(req.path);
                        res.status = status;
                        res.set_content(body, "text/xml");
                    });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        // A stop before the loop runs would be lost and the join would never return.
        for (int i = 0; i < 5000 && !server_.is_running(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~ConfigServer() { stop(); }

    void stop() {
        server_.stop();
        if (thread_.joinable())
            thread_.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::string> paths() {
        std::lock_guard lock(mutex_);
        return paths_;
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::vector<std::string> paths_;
};

std::string configFor(const std::string& review) {
    return std::string("<config><item><version_number>") + kRunningVersion +
           "</version_number><review_completed>" + review + "</review_completed></item></config>";
}

TEST(VersionCheck, AsksTheServerForTheConfigurationOfTheRunningVersion) {
    ConfigServer server(200, configFor("true"));
    std::ostringstream log;
    EXPECT_EQ(checkVersionApprove(server.url(), kRunningVersion, log), true);
    EXPECT_EQ(server.paths(), std::vector<std::string>{"/QuorvaneConfig.xml"});
    EXPECT_EQ(log.str(), std::string("version_number == ") + kRunningVersion + "\n");
}

TEST(VersionCheck, StatusIsNotLookedAt) {
    std::ostringstream log;
    ConfigServer missing(404, configFor("true"));
    EXPECT_EQ(checkVersionApprove(missing.url(), kRunningVersion, log), true);
    ConfigServer failing(500, "<html><body>Internal Server Error</body>");
    EXPECT_EQ(checkVersionApprove(failing.url(), kRunningVersion, log), false);
}

TEST(VersionCheck, EmptyBodyOrNoServerLeavesTheFlag) {
    std::ostringstream log;
    ConfigServer empty(200, "");
    EXPECT_EQ(checkVersionApprove(empty.url(), kRunningVersion, log), std::nullopt);

    ConfigServer gone(200, configFor("true"));
    gone.stop();
    EXPECT_EQ(checkVersionApprove(gone.url(), kRunningVersion, log), std::nullopt);
    EXPECT_EQ(log.str(), "");
}

} // namespace
} // namespace sentravex
