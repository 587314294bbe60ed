// The order of the checks: the document, its items and scripts, the music folder, then the dry run.
#include "check/SceneChecker.h"

#include "check/FileChecks.h"
#include "check/ItemChecks.h"
#include "check/ItemTree.h"
#include "check/NameChecks.h"
#include "check/Places.h"
#include "check/ScriptChecks.h"
#include "check/SourceText.h"
#include "platform/Files.h"
#include "platform/XmlDocument.h"
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
std::string tagOf(const SourceText::Element& e, const std::string& text) {
    std::string out = "<" + e.name;
    if (const SourceText::Attribute* a = e.attribute("name"))
        out += " name=\"" + text.substr(a->valueOffset, a->valueEnd - a->valueOffset) + "\"";
    return out + ">";
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
    const bool parsed = document.loadBytes(bytes);
    const SourceText source(bytes);
    const Places places(source);
    if (!parsed) {
        const platform::XmlDocument::Error& e = document.error();
        Finding f;
        f.file = Places::kDocument;
        f.line = e.line;
        f.column = e.column;
        f.code = "parse-error";
        f.message = e.reason;
        // The parser's column counts bytes of the line; its offset, for the scanner, likewise.
        std::size_t offset = 0;
        for (int line = 1; line < e.line && offset < bytes.size(); ++offset)
            if (bytes[offset] == '\n') ++line;
        offset += static_cast<std::size_t>(e.column > 0 ? e.column - 1 : 0);
        if (const SourceText::Element* open = e.line > 0 ? source.leftOpen(offset) : nullptr) {
            const SourceText::Place p = source.place(open->offset);
            f.message = "element " + tagOf(*open, bytes) +
                        " is not closed: the document stops parsing at line " + std::to_string(e.line) +
                        ", column " + std::to_string(e.column) + " (" + e.reason + ")";
            f.line = p.line;
            f.column = p.column;
        } else if (e.openElementLine > 0 && !source.usable()) {
            // Text the scanner cannot read (UTF-16): the parser still knows the innermost open element.
            f.message += " (in the element that starts at line " + std::to_string(e.openElementLine) + ")";
        } else if (offset > 0 && offset <= bytes.size() && bytes[offset - 1] == '&' && e.column > 1) {
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

    const ItemTree tree(document, source);
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
    if (!platform::Files::readAll(scene::Syntax::kDocumentPath, bytes) || !document.loadBytes(bytes))
        return missing;
    const SourceText source(bytes);
    const Places places(source);
    const ItemTree tree(document, source);
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
