#include "FolderChooser.h"

#import <AppKit/AppKit.h>

namespace sentravex {

// The native panel shows the message above its folders and the prompt on its confirm button.
std::optional<QString> chooseFolder(const OpenPanelSettings& settings, const QString& startAt) {
    @autoreleasepool {
        NSOpenPanel* panel = [NSOpenPanel openPanel];
        panel.canChooseFiles = settings.canChooseFiles;
        panel.canChooseDirectories = settings.canChooseDirectories;
        panel.allowsMultipleSelection = settings.allowsMultipleSelection;
        panel.canCreateDirectories = NO;
        panel.message = QString::fromStdString(settings.message).toNSString();
        panel.prompt = QString::fromStdString(settings.prompt).toNSString();
        panel.directoryURL = [NSURL fileURLWithPath:startAt.toNSString() isDirectory:YES];
        if ([panel runModal] != NSModalResponseOK)
            return std::nullopt;
        NSURL* chosen = panel.URLs.firstObject;
        return chosen ? QString::fromNSString(chosen.path) : QString();
    }
}

} // namespace sentravex
