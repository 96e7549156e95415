#include "WindowAlerts.h"

#include <cctype>

namespace sentravex {

AlertMessage notRemovedAlert(const std::vector<FailedPath>& notRemoved) {
    const auto n = notRemoved.size();
    AlertMessage alert;
    alert.messageText = std::to_string(n) + (n == 1 ? " Threat" : " Threats") + " Not Removed";
    alert.informativeText = n == 1 ? "This path is still there, with the reason it could not be "
                                     "removed. \"Quarantine >\" tries again."
                                   : "These paths are still there, each with the reason it could "
                                     "not be removed. \"Quarantine >\" tries again.";
    alert.details = failureDetailsText(notRemoved);
    alert.detailsShown = true;
    return alert;
}

AlertMessage helpNotOpenedAlert(const std::string& url) {
    return {"The help page could not be opened",
            "No browser opened " + url + ". Open that address in a browser to read the help.",
            {}};
}

AlertMessage folderNotShownAlert(const std::string& path) {
    return {"The folder could not be shown",
            "No file viewer opened the folder of " + path + ". Open it yourself to see the find.",
            {}};
}

AlertMessage macDiskAlert(const std::string& problem) {
    std::string sentence = problem;
    if (!sentence.empty())
        sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
    return {sentence,
            "Start Sentravex with --root naming a Mac disk and --user naming an account on it.",
            {}};
}

} // namespace sentravex
