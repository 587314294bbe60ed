// The timer pass.
#include "script/TimerList.h"

namespace qa::script {

void TimerList::pass(double) {}
void TimerList::shutdown() {}

TimerList& timerList() {
    static TimerList list;
    return list;
}

}  // namespace qa::script
