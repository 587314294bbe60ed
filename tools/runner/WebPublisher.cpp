// Finding the web player and writing a published disk's folder.
#include "runner/WebPublisher.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <system_error>

#include "platform/file/OutputFile.h"

namespace fs = std::filesystem;

namespace qa::runner {

namespace {

const char* const kPlayerFiles[] = {"index.html", "quorvart.js", "quorvart.wasm"};

}  // namespace

bool WebPublisher::isPlayer(const fs::path& folder) {
    std::error_code ec;
    for (const char* name : kPlayerFiles)
        if (!fs::is_regular_file(folder / name, ec)) return false;
    return true;
}

std::vector<fs::path> WebPublisher::defaultPlaces() {
    std::vector<fs::path> places;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) places.push_back(program.parent_path().parent_path() / "share" / "quorvart" / "web");
#ifdef QA_WEB_PLAYER_BUILD_DIR
    if (*QA_WEB_PLAYER_BUILD_DIR) places.emplace_back(QA_WEB_PLAYER_BUILD_DIR);
#endif
    return places;
}

fs::path WebPublisher::findPlayer(const std::vector<fs::path>& places, std::vector<std::string>& looked) {
    looked.clear();
    // A folder named on purpose is the only one taken: another found instead would surprise.
    if (const char* named = std::getenv("QA_WEB_PLAYER"); named && *named) {
        looked.push_back(std::string(named) + " (QA_WEB_PLAYER)");
        return isPlayer(named) ? fs::path(named) : fs::path();
    }
    for (const fs::path& place : places) {
        if (isPlayer(place)) return place;
        looked.push_back(place.string());
    }
    return {};
}

WebPublisher::WebPublisher(fs::path player, fs::path out)
    : player_(std::move(player)), out_(std::move(out)) {}

std::vector<fs::path> WebPublisher::playerFiles() const {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(player_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (it->is_regular_file(ec2) && it->path().filename() != kDiskName) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> WebPublisher::refusals(const std::vector<fs::path>& inputs) const {
    std::error_code ec;
    const fs::file_status status = fs::status(out_, ec);
    if (fs::exists(status) && !fs::is_directory(status))
        return {out_.string() + " is not a folder; nothing is published there"};
    std::vector<fs::path> reads = inputs;
    for (const fs::path& file : playerFiles()) reads.push_back(file);
    std::vector<std::string> reasons;
    std::vector<fs::path> targets = {diskPath()};
    for (const fs::path& file : playerFiles()) targets.push_back(out_ / file.filename());
    for (const fs::path& target : targets) {
        const std::string refused = platform::OutputFile::refusal(target, reads);
        if (!refused.empty()) reasons.push_back(refused);
    }
    return reasons;
}

bool WebPublisher::makeFolder(std::string& reason) const {
    std::error_code ec;
    fs::create_directories(out_, ec);
    if (ec) reason = "cannot make the folder " + out_.string() + ": " + ec.message();
    return !ec;
}

bool WebPublisher::copyIn(const fs::path& file, const std::string& name, std::string& reason) const {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        reason = "cannot read " + file.string();
        return false;
    }
    std::unique_ptr<platform::OutputFile> output = platform::OutputFile::create(out_ / name, reason);
    if (!output) return false;
    char buffer[1 << 16];
    while (in) {
        in.read(buffer, sizeof buffer);
        const std::streamsize n = in.gcount();
        if (n > 0 && !output->write(buffer, static_cast<std::size_t>(n))) break;
    }
    if (in.bad()) {
        output->discard();
        reason = "cannot read " + file.string();
        return false;
    }
    return output->commit(reason);
}

bool WebPublisher::copyPlayer(std::string& reason) const {
    for (const fs::path& file : playerFiles())
        if (!copyIn(file, file.filename().string(), reason)) return false;
    return true;
}

}  // namespace qa::runner
