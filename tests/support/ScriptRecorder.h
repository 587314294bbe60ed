// A clean scene and command table for a test, with a recording command "Rec" that notes each call
// (argument and item name) and returns true when its argument starts with "+".
#pragma once

#include <string>
#include <vector>

#include "platform/Vec3.h"

namespace qa::scene {
class ImageItem;
}

namespace qa::test {

struct RecordedCall {
    std::string argument;
    std::string item;  // "(none)" for plain scripts
};

class ScriptRecorder {
  public:
    // Resets the scene, the command table (the real registration plus "Rec") and the timers.
    ScriptRecorder();
    ~ScriptRecorder();
    std::vector<RecordedCall>& calls();
    // The arguments of the recorded calls, joined by ",".
    std::string joined() const;
};

}  // namespace qa::test
