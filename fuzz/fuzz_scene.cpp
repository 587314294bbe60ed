// The scene loader followed by ten frames of random input on the loaded scene. The input is a scene
// document, then (after a line "--input--") the runner's input lines.
#include <cstdint>
#include <string>

#include "FuzzDisk.h"
#include "runner/Runner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string scene = bytes, input;
    std::size_t cut = bytes.find("--input--");
    if (cut != std::string::npos) {
        scene = bytes.substr(0, cut);
        input = bytes.substr(cut + 9);
    }
    const std::string& root = qa::fuzz::FuzzDisk::root();
    qa::fuzz::FuzzDisk::write("data/QuorvArt.XQD", scene);
    qa::fuzz::FuzzDisk::write("input.txt", input);
    qa::runner::RunnerOptions options;
    options.dir = root;
    options.frames = 10;
    options.inputPath = root + "/input.txt";
    options.sound = false;
    qa::runner::Runner runner(options);
    runner.run();
    return 0;
}
