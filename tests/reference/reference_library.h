#pragma once

// The client library of EiskaltDC++ for one run of a program. It keeps its
// state in singletons and writes its settings, a hash file and a certificate
// under HOME, which points to a folder of the run's own.

#include <filesystem>
#include <string>

namespace tavu::test {

class ReferenceLibraryRun {
public:
    // Starts the library for a client that logs in as `nick`; empty when it
    // started, else why not.
    [[nodiscard]] std::string start(const std::string& nick);
    // Shuts the library down and removes the folder it wrote in.
    void stop();

private:
    std::filesystem::path home_;
};

} // namespace tavu::test
