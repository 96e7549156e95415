#pragma once

#include <cstddef>

struct open_how;

namespace sentravex {

// How the Linux root asks the kernel for openat2(2); tests put their own answers in its place.
using Openat2Call = long (*)(int folderFd, const char* path, open_how* how, std::size_t size);
extern Openat2Call openat2Call;

} // namespace sentravex
