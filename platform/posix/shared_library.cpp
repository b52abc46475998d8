// Run-time library loading through dlopen: the outside codecs are optional,
// so a missing library must be an answer, never a start-up failure.
#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <utility>

#include "platform/api/shared_library.h"

namespace zeku {
namespace {

std::string lastLoaderError(const char* fallback) {
    const char* text = dlerror();
    return text != nullptr ? std::string(text) : std::string(fallback);
}

}  // namespace

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), error_(std::move(other.error_)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    if (this != &other) {
        close();
        handle_ = std::exchange(other.handle_, nullptr);
        error_ = std::move(other.error_);
    }
    return *this;
}

SharedLibrary::~SharedLibrary() {
    close();
}

bool SharedLibrary::open(const std::string& path) {
    close();
    error_.clear();
    if (path.empty()) {
        error_ = "no library name";
        return false;
    }
    // Local binding keeps the library's names from resolving anyone else's.
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error_ = lastLoaderError("cannot load the library");
        return false;
    }
    return true;
}

void* SharedLibrary::symbol(const char* name) {
    if (handle_ == nullptr) {
        error_ = "no library loaded";
        return nullptr;
    }
    dlerror();  // clear a stale message
    void* address = dlsym(handle_, name);
    if (address == nullptr) error_ = lastLoaderError("symbol not found");
    return address;
}

void SharedLibrary::close() {
    if (handle_ != nullptr) dlclose(handle_);
    handle_ = nullptr;
}

bool environmentValue(const char* name, std::string& value) {
    const char* text = std::getenv(name);
    if (text == nullptr) return false;
    value = text;
    return true;
}

}  // namespace zeku
