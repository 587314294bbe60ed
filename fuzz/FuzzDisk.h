// A disk folder for fuzz targets: made once per process, its files rewritten for every input.
#pragma once

#include <string>

namespace qa::fuzz {

class FuzzDisk {
  public:
    // The folder (created on first use); the process works in it.
    static const std::string& root();
    static void write(const std::string& relativePath, const std::string& bytes);
};

}  // namespace qa::fuzz
