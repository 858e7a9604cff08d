#pragma once

// A folder of a test's own under the system's temporary folder.

#include <filesystem>
#include <string>
#include <string_view>

namespace tavu::test {

// Made exclusively, so that no other test or build running at the same time
// shares it, and removed with everything in it when the object goes (a file
// or the folder made read-only by the test included).
class TemporaryFolder {
public:
    // `prefix` starts the folder's name, such as "tavu-cli-".
    explicit TemporaryFolder(const std::filesystem::path& prefix = "tavu-test-");
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }

    // Writes the bytes as they are (no line end becomes the system's own) into
    // the file `name` in the folder, and gives its path.
    std::filesystem::path write(const std::filesystem::path& name, std::string_view bytes) const;
    // The bytes of the file `name` in the folder; empty when there is none.
    std::string read(const std::filesystem::path& name) const;

private:
    std::filesystem::path path_;
};

// Makes a folder the working folder while it lives, and puts the old one back.
class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder) { std::filesystem::current_path(folder); }
    ~WorkingFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
    }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path previous_ = std::filesystem::current_path();
};

} // namespace tavu::test
