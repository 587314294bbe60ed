// The fakes' shared log.
#include "support/FakeSound.h"

namespace qa::test {

std::vector<std::string>& FakeSound::log() {
    static std::vector<std::string> entries;
    return entries;
}

}  // namespace qa::test
