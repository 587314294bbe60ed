// The order of the checks: the document, its items and scripts, the music folder, then the dry run.
#include "check/SceneChecker.h"

#include "check/FileChecks.h"
#include "check/ItemChecks.h"
#include "check/ItemTree.h"
#include "check/NameChecks.h"
#include "check/Places.h"
#include "check/ScriptChecks.h"
#include "platform/XmlDocument.h"
#include "platform/file/Files.h"
#include "scene/SceneLoader.h"
#include "scene/Syntax.h"

namespace qa::check {

namespace {

// How many item elements stand in an unbroken chain from this one upwards, itself included (the
// loader refuses documents whose items nest deeper than it allows).
int itemDepth(const platform::XmlNode& element, int limit) {
    int depth = 0;
    for (platform::XmlNode n = element; n.valid() && n.isElement() && n.name() == "item" && depth <= limit;
         n = n.parent())
        ++depth;
    return depth;
}

// A start tag as the author wrote it, shortened to its name attribute: <item name="b1">.
std::string tagOf(const platform::XmlDocument::Error::OpenElement& e) {
    std::string out = "<" + e.name;
    if (e.named) out += " name=\"" + e.nameAsWritten + "\"";
    return out + ">";
}

// The byte offset of a parse error: the parser's column counts bytes of the line.
std::size_t errorOffset(const std::string& bytes, const platform::XmlDocument::Error& e) {
    std::size_t offset = 0;
    for (int line = 1; line < e.line && offset < bytes.size(); ++offset)
        if (bytes[offset] == '\n') ++line;
    return offset + static_cast<std::size_t>(e.column > 0 ? e.column - 1 : 0);
}

}  // namespace

SceneChecker::SceneChecker(std::vector<std::string> commandWords, DryRun* dryRun)
    : commandWords_(std::move(commandWords)), dryRun_(dryRun) {}

FindingReport SceneChecker::check() {
    FindingReport report;
    std::string bytes;
    if (!platform::Files::readAll(scene::Syntax::kDocumentPath, bytes)) {
        Finding f;
        f.file = Places::kDocument;
        f.code = "unreadable";
        f.message = "the scene document cannot be read";
        report.add(std::move(f));
        return report;
    }
    platform::XmlDocument document;
    if (!document.loadBytes(bytes)) {
        const platform::XmlDocument::Error& e = document.error();
        Finding f;
        f.file = Places::kDocument;
        f.line = e.line;
        f.column = e.column;
        f.code = "parse-error";
        f.message = e.reason;
        if (e.line > 0 && e.leftOpenKnown) {
            f.message = "element " + tagOf(e.leftOpen) +
                        " is not closed: the document stops parsing at line " + std::to_string(e.line) +
                        ", column " + std::to_string(e.column) + " (" + e.reason + ")";
            f.line = e.leftOpen.line;
            f.column = e.leftOpen.column;
        } else if (e.openElementLine > 0 && document.wideText()) {
            // Text in UTF-16 or UTF-32, whose places are not told: the innermost open element's line.
            f.message += " (in the element that starts at line " + std::to_string(e.openElementLine) + ")";
        } else if (const std::size_t offset = errorOffset(bytes, e);
                   offset > 0 && offset <= bytes.size() && bytes[offset - 1] == '&' && e.column > 1) {
            // An ampersand followed by what starts no entity (the parser stops just after it): the
            // character itself was meant.
            f.column = e.column - 1;
            f.message += ": write a \"&\" as \"&amp;\"";
        } else if (e.reason == "undefined entity") {
            f.message += ": write a \"&\" that starts no entity as \"&amp;\"";
        }
        report.add(std::move(f));
        return report;
    }

    const ItemTree tree(document);
    const Places places(tree);
    for (const auto& item : tree.items()) {
        if (itemDepth(item->element, scene::SceneLoader::kMaxItemDepth) > scene::SceneLoader::kMaxItemDepth) {
            Finding f = places.item(Severity::Error, *item);
            f.aboutItem = false;
            f.code = "too-deep";
            f.message = "items nested more than " + std::to_string(scene::SceneLoader::kMaxItemDepth) +
                        " levels deep: the scene does not load";
            report.add(std::move(f));
            return report;
        }
    }
    for (const platform::XmlNode& e : tree.misspeltElements()) {
        Finding f;
        f.severity = Severity::Warning;
        f.file = Places::kDocument;
        f.line = e.line();
        f.column = e.column();
        f.code = "not-an-item";
        f.message =
            "element <" + e.name() + "> is not an item: only elements named \"item\" (lower case) are";
        f.suggestion = "item";
        report.add(std::move(f));
    }

    FileChecks files;
    ItemChecks itemChecks(tree, places, files, report);
    ScriptChecks scriptChecks(tree, places, commandWords_, files, report);
    for (const auto& item : tree.items()) {
        itemChecks.checkItem(*item);
        scriptChecks.checkItem(*item);
    }
    scriptChecks.finish();
    NameChecks::check(tree, places, report);
    files.checkMusicFolder(scriptChecks.usesMusic(), report);
    if (dryRun_) dryRun_->run(tree, places, scriptChecks.timers(), report);
    report.sort(Places::kDocument);
    return report;
}

FindingReport SceneChecker::missingItemFiles() {
    FindingReport found, missing;
    std::string bytes;
    platform::XmlDocument document;
    if (!platform::Files::readAll(scene::Syntax::kDocumentPath, bytes) ||
        !document.loadBytes(std::move(bytes)))
        return missing;
    const ItemTree tree(document);
    const Places places(tree);
    FileChecks files;
    ItemChecks itemChecks(tree, places, files, found);
    for (const auto& item : tree.items()) itemChecks.checkFiles(*item);
    for (Finding f : found.findings()) {
        if (f.code != "missing-file") continue;
        f.severity = Severity::Warning;
        missing.add(std::move(f));
    }
    missing.sort(Places::kDocument);
    return missing;
}

}  // namespace qa::check
