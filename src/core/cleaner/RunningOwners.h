#pragma once

#include "CleanerCategory.h"
#include "platform/Processes.h"

#include <array>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sentravex {

// An application that keeps a category's data open and writes it back from memory.
struct CategoryOwner {
    std::string_view category;
    std::string_view application;                 // as the user knows it
    std::string_view bundleIdentifier;            // how macOS names its process
    std::array<std::string_view, 2> processNames; // how other systems name it; unused ones empty
};

inline constexpr std::array categoryOwners{
    CategoryOwner{"Safari", "Safari", "com.apple.Safari", {"Safari", {}}},
    CategoryOwner{"Chrome", "Google Chrome", "com.google.Chrome", {"chrome", "Google Chrome"}},
    CategoryOwner{"Firefox", "Firefox", "org.mozilla.firefox", {"firefox", "firefox-esr"}},
    CategoryOwner{"Mail", "Mail", "com.apple.mail", {"Mail", {}}},
};

// A checked category whose application runs, with the processes that are it.
struct RunningOwner {
    std::string category;
    std::string application;
    std::vector<RunningProcess> processes;
};

// The application's processes among those running: by bundle identifier where the system gives
// one, else by name.
std::vector<RunningProcess> processesOf(const CategoryOwner& owner,
                                        const std::vector<RunningProcess>& running);

// The running application that owns a category's data. A root other than "/" is another disk:
// its applications do not run on this machine, and none is answered.
std::optional<RunningOwner> runningOwner(const CleanerCategory& category,
                                         const std::vector<RunningProcess>& running,
                                         bool systemRoot);

// The categories checked (on or mixed) whose application runs, as above.
std::vector<RunningOwner> runningOwners(const std::vector<CleanerCategory>& categories,
                                        const std::vector<RunningProcess>& running,
                                        bool systemRoot);

// "Google Chrome is running. Quit it before cleaning, or it may write back what is deleted.", and
// the same for several.
std::string runningOwnersText(const std::vector<RunningOwner>& owners);

// The answers the window offers to `runningOwnersText`, first the default.
inline constexpr std::array<const char*, 3> runningOwnersButtons{"Quit and Clean", "Clean Anyway",
                                                                 "Cancel"};

// "Waiting for Google Chrome to quit…", while a quit request is given its time.
std::string quitWaitText(const std::vector<RunningOwner>& owners);

// "Google Chrome did not quit, so its data was not cleaned.", and the same for several.
std::string stillRunningText(const std::vector<RunningOwner>& owners);

// Takes the owners' categories out of a clean: every row of theirs unchecked.
void leaveOut(std::vector<CleanerCategory>& categories, const std::vector<RunningOwner>& owners);

// How long a quit request is given, and how often it is looked at meanwhile.
inline constexpr std::chrono::milliseconds quitPatience{10'000};
inline constexpr std::chrono::milliseconds quitPoll{200};

// Asks each owner's processes to quit the normal way, then looks every `quitPoll` until none of
// them runs or `quitPatience` has passed; `pause` waits between looks. Answers those still running.
std::vector<RunningOwner> quitAndWait(const std::vector<RunningOwner>& owners,
                                      const Processes& processes,
                                      const std::function<void(std::chrono::milliseconds)>& pause);

} // namespace sentravex
