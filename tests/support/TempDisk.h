// A disk folder made for one test: a fresh temporary folder with data/, entered as the working
// folder while the test runs, and removed afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace qa::test {

class TempDisk {
  public:
    TempDisk();
    ~TempDisk();
    TempDisk(const TempDisk&) = delete;
    TempDisk& operator=(const TempDisk&) = delete;

    const std::filesystem::path& root() const { return root_; }
    // Writes a file below the disk's root (folders made as needed).
    void write(const std::string& relativePath, const std::string& bytes) const;
    // Writes the scene document.
    void writeScene(const std::string& xml) const { write("data/QuorvArt.XQD", xml); }

  private:
    std::filesystem::path root_;
    std::filesystem::path previous_;
};

}  // namespace qa::test
