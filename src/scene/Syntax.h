// The scene language's spelling in one place: where the scene document stands, how a script splits
// into statements and a statement into words (each piece with its offset in the script), and the
// rule that lets a SetTimer tick script hold several statements.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace qa::scene {

class Syntax {
  public:
    // The scene document as the loader opens it (a doubled slash is harmless to a disk's files) and
    // as messages name it; its folder and its file name, for looking at a folder from outside.
    static constexpr const char* kDocumentPath = "data//QuorvArt.XQD";
    static constexpr const char* kDocumentName = "data/QuorvArt.XQD";
    static constexpr const char* kDataFolder = "data";
    static constexpr const char* kDocumentFile = "QuorvArt.XQD";

    static constexpr char kStatementSeparator = ';';
    // A ";" would end the SetTimer statement itself, so its tick script writes "|" for it.
    static constexpr char kTickSeparator = '|';

    // A statement or word of a script: its text and where it starts in the script.
    struct Piece {
        std::string text;
        std::size_t offset = 0;
    };

    // The statement that starts at `pos` of the script, with `pos` moved past it and the spaces that
    // follow its ";" (unless the statement is empty); false at the end of the script. One pass over
    // the script reads every statement: a run that stops early never splits the rest.
    static bool nextStatement(const std::string& script, std::size_t& pos, Piece& statement);
    // Every statement of a script.
    static std::vector<Piece> statements(const std::string& script);

    // The word before the first space and the rest after the spaces that follow it (with no space,
    // the rest is empty and starts at the end).
    static std::pair<Piece, Piece> splitWord(const Piece& text);
    static std::pair<std::string, std::string> splitWord(const std::string& text);

    // The command word of a statement and its argument: what follows the first space, spaces and
    // all; a statement without a space is its own argument.
    static std::pair<Piece, Piece> commandOf(const Piece& statement);

    // A tick script as written in a SetTimer statement, turned into the statements it runs ("|"
    // becomes ";", one character for one, so offsets stay).
    static std::string tickScript(std::string written);

    // The words of a SetTimer argument: NAME PERIOD LIMIT TICK-SCRIPT, the tick script as written.
    struct TimerArguments {
        Piece name, period, limit, tick;
    };
    static TimerArguments timerArguments(const Piece& argument);
};

}  // namespace qa::scene
