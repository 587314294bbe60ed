// File lookups component by component, as the engine resolves paths, with suggestions.
#include "check/FileChecks.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "check/Suggestions.h"
#include "platform/file/Files.h"
#include "platform/file/PathNames.h"

namespace fs = std::filesystem;

namespace qa::check {

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The components joined the way the author wrote the path: the same separator and leading separator.
std::string rejoin(const std::string& written, const std::vector<std::string>& parts) {
    const char sep = written.find('\\') != std::string::npos ? '\\' : '/';
    std::string out;
    if (!written.empty() && (written[0] == '\\' || written[0] == '/')) out.push_back(written[0]);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out.push_back(sep);
        out += parts[i];
    }
    return out;
}

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

const std::vector<std::string>& FileChecks::entries(const std::string& folder) {
    auto it = folders_.find(folder);
    if (it != folders_.end()) return it->second;
    std::vector<std::string>& names = folders_[folder];
    std::error_code ec;
    for (fs::directory_iterator d(folder.empty() ? fs::path(".") : fs::path(folder), ec), end;
         !ec && d != end; d.increment(ec))
        names.push_back(d->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

const FileChecks::Lookup& FileChecks::look(const std::string& windowsPath) {
    auto cached = lookups_.find(windowsPath);
    if (cached != lookups_.end()) return cached->second;
    Lookup& result = lookups_[windowsPath];

    const bool absolute = !windowsPath.empty() && (windowsPath[0] == '/' || windowsPath[0] == '\\');
    std::string folder = absolute ? "/" : "";
    std::vector<std::string> spelt;  // the components as they exist (or as suggested)
    bool otherCase = false, missing = false, guessed = true;
    std::error_code ec;
    for (const std::string& part : platform::PathNames::components(windowsPath)) {
        auto join = [&](const std::string& name) {
            return folder.empty() ? name : (folder.back() == '/' ? folder + name : folder + "/" + name);
        };
        if (part == "." || part == ".." || fs::exists(join(part), ec)) {
            spelt.push_back(part);
            folder = join(part);
            continue;
        }
        const std::vector<std::string>& names = entries(folder);
        // Not there as written: the engine takes the first name that differs only in case.
        std::string match;
        for (const std::string& n : names)
            if (platform::PathNames::sameButCase(n, part)) {
                match = n;
                break;
            }
        if (!match.empty()) {
            otherCase = true;
            spelt.push_back(match);
            folder = join(match);
            continue;
        }
        // Missing: go on from the nearest name, if there is one, to suggest the whole path.
        missing = true;
        const std::string near = Suggestions::closest(part, names);
        if (near.empty()) {
            guessed = false;
            break;
        }
        spelt.push_back(near);
        folder = join(near);
    }
    if (missing) {
        result.found = Found::Missing;
        if (guessed && !spelt.empty()) result.suggestion = rejoin(windowsPath, spelt);
        return result;
    }
    result.found = otherCase ? Found::OtherCase : Found::Exactly;
    result.folder = fs::is_directory(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    if (otherCase) result.actual = rejoin(windowsPath, spelt);
    return result;
}

void FileChecks::require(const std::string& windowsPath, const char* what, Finding where,
                         FindingReport& report) {
    const Lookup& l = look(windowsPath);
    if (l.found != Found::Missing && l.folder) {
        where.severity = Severity::Error;
        where.code = "missing-file";
        where.message = std::string(what) + " " + Finding::quoted(windowsPath) + " is a folder, not a file";
        report.add(std::move(where));
        return;
    }
    switch (l.found) {
        case Found::Exactly:
            return;
        case Found::OtherCase:
            where.severity = Severity::Warning;
            where.code = "file-case";
            where.message = std::string(what) + " " + Finding::quoted(windowsPath) + " is found only as " +
                            Finding::quoted(l.actual) +
                            ", with other letter case: it will not be found where case matters";
            break;
        case Found::Missing:
            where.severity = Severity::Error;
            where.code = "missing-file";
            where.message = std::string(what) + " " + Finding::quoted(windowsPath) + " does not exist";
            where.suggestion = l.suggestion;
            break;
    }
    report.add(std::move(where));
}

bool FileChecks::musicFolderExists() {
    const Lookup& l = look(kMusicFolder);
    return l.found != Found::Missing && l.folder;
}

const std::vector<std::string>& FileChecks::trackNames() {
    if (tracksListed_) return tracks_;
    tracksListed_ = true;
    std::vector<platform::Files::Entry> listing;
    if (!platform::Files::list(std::string(kMusicPrefix) + "*.*", listing)) return tracks_;
    for (const platform::Files::Entry& e : listing)
        if (!e.directory) tracks_.push_back(std::string(kMusicPrefix) + e.name);
    return tracks_;
}

bool FileChecks::playableName(const std::string& fileName) {
    if (endsWith(fileName, ".mp3") || endsWith(fileName, ".ogg")) return true;
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string ext = lowerAscii(fileName.substr(dot + 1));
    // The tracker module formats the module player reads.
    static const char* const kModules[] = {
        "mod", "xm",  "s3m",    "it",   "mptm", "stm", "nst", "m15",  "stk",  "wow", "ult", "669",
        "mtm", "med", "far",    "mdl",  "ams",  "dsm", "amf", "okt",  "okta", "dmf", "ptm", "psm",
        "mt2", "dbm", "digi",   "imf",  "j2b",  "plm", "sfx", "sfx2", "mms",  "gdm", "umx", "mo3",
        "xpk", "ppm", "mmcmp",  "c67",  "dtm",  "fmt", "ftm", "gmc",  "gt2",  "gtk", "ice", "puma",
        "rtm", "stp", "symmod", "unic", "xmf",  "cba", "etx", "mus",  "st26"};
    for (const char* m : kModules)
        if (ext == m) return true;
    return false;
}

void FileChecks::checkMusicFolder(bool needed, FindingReport& report) {
    auto finding = [](Severity s, const std::string& file, const char* code, std::string message) {
        Finding f;
        f.severity = s;
        f.file = file;
        f.code = code;
        f.message = std::move(message);
        return f;
    };
    const Lookup& folder = look(kMusicFolder);
    if (folder.found == Found::Missing || !folder.folder) {
        if (needed)
            report.add(finding(Severity::Warning, kMusicShown, "music-folder",
                               "the music folder does not exist, so no music plays and PlayTrack finds no "
                               "track"));
        return;
    }
    if (folder.found == Found::OtherCase)
        report.add(finding(Severity::Warning, kMusicShown, "file-case",
                           "the music folder is found only as " + Finding::quoted(folder.actual) +
                               ", with other letter case: it will not be found where case matters"));
    bool playable = false;
    for (const std::string& track : trackNames()) {
        const std::string name = track.substr(std::string(kMusicPrefix).size());
        const std::string lower = lowerAscii(name);
        if (!endsWith(name, ".mp3") && !endsWith(name, ".ogg") &&
            (endsWith(lower, ".mp3") || endsWith(lower, ".ogg"))) {
            report.add(finding(Severity::Warning, std::string(kMusicShown) + "/" + name, "track-name",
                               "only names ending in \".mp3\" or \".ogg\" in lower case play as streams: "
                               "this file is tried as a tracker module and left out"));
            continue;
        }
        if (playableName(name)) {
            playable = true;
            continue;
        }
        // The scan tries every file; one that is neither a stream nor a module does not load and is
        // not a track (and a packed disk does not carry it as music).
        report.add(finding(Severity::Warning, std::string(kMusicShown) + "/" + name, "not-music",
                           "the music folder's scan leaves this file out: only \".mp3\", \".ogg\" and "
                           "tracker modules play as music"));
    }
    if (!playable)
        report.add(finding(Severity::Warning, kMusicShown, "music-folder",
                           "the music folder holds no playable track (.mp3, .ogg or a tracker module)"));
}

}  // namespace qa::check
