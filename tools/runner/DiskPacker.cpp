// Planning a pack from the names the scene uses, and writing the archive with libzip.
#include "runner/DiskPacker.h"

#include <zip.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <system_error>

#include "platform/file/Files.h"
#include "platform/file/FolderSource.h"
#include "platform/file/OutputFile.h"
#include "runner/UsedFiles.h"

namespace fs = std::filesystem;

namespace qa::runner {

namespace {

std::string describe(const UsedFiles::Use& use) {
    std::string text = use.name + " (" + use.what;
    if (!use.where.empty()) text += ", " + use.where;
    return text + ")";
}

// The path of `file` inside `root`, or empty when it lies outside.
std::string inside(const fs::path& root, const fs::path& file) {
    const fs::path relative = file.lexically_normal().lexically_relative(root.lexically_normal());
    if (relative.empty() || relative.is_absolute() || relative == ".") return {};
    for (const fs::path& part : relative)
        if (part == "..") return {};
    return relative.generic_string();
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

DiskPacker::DiskPacker(fs::path root) : root_(std::move(root)) {}

bool DiskPacker::storedAsIs(const std::string& name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return false;
    static const std::set<std::string> kCompressed = {".png", ".jpg", ".jpeg", ".gif", ".mp3", ".ogg"};
    return kCompressed.count(lower(name.substr(dot))) != 0;
}

bool DiskPacker::plan(Plan& plan, std::string& reason, const fs::path& out) const {
    plan = Plan{};
    UsedFiles used;
    if (!used.collect(std::make_shared<platform::file::FolderSource>(root_), reason)) return false;
    std::set<std::string> packed;
    std::error_code rootError;
    const fs::path canonicalRoot = fs::canonical(root_, rootError);
    for (const UsedFiles::Use& use : used.uses()) {
        const fs::path file = platform::Files::resolve(use.name, root_);
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            plan.missing.push_back(describe(use));
            continue;
        }
        const std::string name = inside(root_, file);
        if (name.empty()) {
            plan.outside.push_back(describe(use));
            continue;
        }
        // A file of the folder, or one of its folders, may be a symbolic link to elsewhere: what
        // would be packed is the file the link leads to, which must be the disk's own too.
        const fs::path real = fs::canonical(file, ec);
        if (ec || rootError || inside(canonicalRoot, real).empty()) {
            plan.outside.push_back(name + " (a symbolic link to " +
                                   (ec ? "a file that cannot be found" : real.string()) +
                                   ", outside the disk folder)");
            continue;
        }
        if (!packed.insert(name).second) continue;
        const std::uintmax_t bytes = fs::file_size(file, ec);
        plan.entries.push_back({name, file, ec ? 0 : bytes, use.what});
    }
    std::error_code ec;
    const fs::path skip = out.empty() ? fs::path() : fs::weakly_canonical(out, ec);
    for (fs::recursive_directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (!it->is_regular_file(ec2)) continue;
        if (!skip.empty() && fs::weakly_canonical(it->path(), ec2) == skip) continue;
        const std::string name = inside(root_, it->path());
        if (!name.empty() && !packed.count(name)) plan.leftOut.push_back(name);
    }
    std::sort(plan.leftOut.begin(), plan.leftOut.end());
    return true;
}

bool DiskPacker::write(const Plan& plan, const fs::path& out, std::string& reason) const {
    std::vector<fs::path> inputs;
    for (const Entry& entry : plan.entries) inputs.push_back(entry.file);
    reason = platform::OutputFile::refusal(out, inputs);
    if (!reason.empty()) return false;
    std::unique_ptr<platform::OutputFile> file = platform::OutputFile::create(out, reason);
    if (!file) return false;
    // libzip writes the archive beside the (empty) temporary file and puts it in its place at the
    // close; the temporary file then takes the target's name.
    int code = 0;
    zip_t* zip = zip_open(file->temporaryPath().c_str(), ZIP_TRUNCATE, &code);
    if (!zip) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        return false;
    }
    auto fail = [&](const std::string& why) {
        reason = why + ": " + zip_strerror(zip);
        zip_discard(zip);
        return false;
    };
    for (const Entry& entry : plan.entries) {
        zip_source_t* source = zip_source_file(zip, entry.file.c_str(), 0, -1);
        if (!source) return fail("cannot read " + entry.file.string());
        const zip_int64_t index = zip_file_add(zip, entry.name.c_str(), source, ZIP_FL_ENC_GUESS);
        if (index < 0) {
            zip_source_free(source);
            return fail("cannot add " + entry.name);
        }
        const zip_int32_t method = storedAsIs(entry.name) ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
        if (zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), method, 9) != 0)
            return fail("cannot compress " + entry.name);
    }
    if (zip_close(zip) != 0) return fail("cannot write the archive");
    if (!file->commit(reason)) return false;
    return true;
}

int DiskPacker::pack(const fs::path& out, std::FILE* report, std::FILE* errors) const {
    Plan plan;
    std::string reason;
    if (!this->plan(plan, reason, out)) {
        std::fprintf(errors, "quorvart-run: the scene cannot be loaded: %s; not packed\n", reason.c_str());
        return 1;
    }
    if (!plan.outside.empty()) {
        for (const std::string& o : plan.outside)
            std::fprintf(errors, "quorvart-run: names a file outside the disk folder: %s\n", o.c_str());
        std::fprintf(errors, "quorvart-run: not packed: a packed disk reads only its own files\n");
        return 1;
    }
    if (!write(plan, out, reason)) {
        std::fprintf(errors, "quorvart-run: cannot write %s: %s\n", out.c_str(), reason.c_str());
        return 2;
    }
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(out, ec);
    std::uintmax_t total = 0;
    for (const Entry& e : plan.entries) total += e.bytes;
    std::fprintf(report, "packed %zu file%s of %ju bytes into %s (%ju bytes)\n", plan.entries.size(),
                 plan.entries.size() == 1 ? "" : "s", total, out.c_str(), ec ? 0 : size);
    for (const Entry& e : plan.entries)
        std::fprintf(report, "  %s  %ju bytes  (%s)\n", e.name.c_str(), e.bytes, e.what.c_str());
    if (!plan.missing.empty()) {
        std::fprintf(report, "named but missing, not packed (%zu):\n", plan.missing.size());
        for (const std::string& m : plan.missing) std::fprintf(report, "  %s\n", m.c_str());
    }
    std::fprintf(report, "left out, not used by the scene (%zu file%s)%s\n", plan.leftOut.size(),
                 plan.leftOut.size() == 1 ? "" : "s", plan.leftOut.empty() ? "" : ":");
    for (const std::string& l : plan.leftOut) std::fprintf(report, "  %s\n", l.c_str());
    return 0;
}

}  // namespace qa::runner
