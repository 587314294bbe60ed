// Registration of every script command, in the fixed order of start-up.
#pragma once

namespace qa::script {

class Commands {
  public:
    // Fills the command table: the empty word with no handler, then the thirteen commands.
    static void registerAll();
};

}  // namespace qa::script
