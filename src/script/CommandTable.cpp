// The process-wide command table.
#include "script/CommandTable.h"

namespace qa::script {

CommandTable& commandTable() {
    static CommandTable table;
    return table;
}

}  // namespace qa::script
