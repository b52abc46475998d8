// Libraries loaded at run time by name: outside codecs that the programs
// use when present and do without when not (they are never linked in).
#pragma once

#include <string>

namespace zeku {

// One loaded library; unloads itself. Symbols found in it stay valid until
// the library is closed or destroyed.
class SharedLibrary {
  public:
    SharedLibrary() = default;
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    ~SharedLibrary();

    // A bare name is searched the host's usual way; a path is loaded as
    // given. Closes any library opened before. False with error() set.
    bool open(const std::string& path);
    bool isOpen() const { return handle_ != nullptr; }
    // The entry point or object called `name`; nullptr with error() set.
    void* symbol(const char* name);
    // Why the last open() or symbol() failed.
    const std::string& error() const { return error_; }
    void close();

  private:
    void* handle_ = nullptr;
    std::string error_;
};

// An environment variable's value, for run-time overrides of where a library
// lies. False when the variable is not set.
bool environmentValue(const char* name, std::string& value);

}  // namespace zeku
