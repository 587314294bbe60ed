// Splitting scripts into statements and words, each piece remembering where it stands.
#include "scene/Syntax.h"

#include <algorithm>

namespace qa::scene {

bool Syntax::nextStatement(const std::string& script, std::size_t& pos, Piece& statement) {
    const std::size_t n = script.size();
    if (pos >= n) return false;
    std::size_t p = script.find(kStatementSeparator, pos);
    if (p == std::string::npos) {
        statement = {script.substr(pos), pos};
        pos = n;
        return true;
    }
    statement = {script.substr(pos, p - pos), pos};
    // Spaces after a ";" are skipped, unless the ";" ended an empty statement.
    if (p > pos) {
        while (p + 1 < n && script[p + 1] == ' ') ++p;
    }
    pos = p + 1;
    return true;
}

std::vector<Syntax::Piece> Syntax::statements(const std::string& script) {
    std::vector<Piece> out;
    std::size_t pos = 0;
    Piece statement;
    while (nextStatement(script, pos, statement)) out.push_back(std::move(statement));
    return out;
}

std::pair<Syntax::Piece, Syntax::Piece> Syntax::splitWord(const Piece& text) {
    std::size_t s = text.text.find(' ');
    if (s == std::string::npos) return {text, {std::string(), text.offset + text.text.size()}};
    Piece word{text.text.substr(0, s), text.offset};
    if (s > 0) {
        while (s + 1 < text.text.size() && text.text[s + 1] == ' ') ++s;
    }
    return {std::move(word), Piece{text.text.substr(s + 1), text.offset + s + 1}};
}

std::pair<std::string, std::string> Syntax::splitWord(const std::string& text) {
    auto [word, rest] = splitWord(Piece{text, 0});
    return {std::move(word.text), std::move(rest.text)};
}

std::pair<Syntax::Piece, Syntax::Piece> Syntax::commandOf(const Piece& statement) {
    const std::size_t s = statement.text.find(' ');
    if (s == std::string::npos) return {statement, statement};
    return {{statement.text.substr(0, s), statement.offset},
            {statement.text.substr(s + 1), statement.offset + s + 1}};
}

std::string Syntax::tickScript(std::string written) {
    std::replace(written.begin(), written.end(), kTickSeparator, kStatementSeparator);
    return written;
}

Syntax::TimerArguments Syntax::timerArguments(const Piece& argument) {
    TimerArguments a;
    auto [name, afterName] = splitWord(argument);
    auto [period, afterPeriod] = splitWord(afterName);
    auto [limit, tick] = splitWord(afterPeriod);
    a.name = std::move(name);
    a.period = std::move(period);
    a.limit = std::move(limit);
    a.tick = std::move(tick);
    return a;
}

}  // namespace qa::scene
