// One fixture for the three players over the recording sound library: a player is made and destroyed
// with what it prints captured.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/RecordingSoundLibrary.h"

namespace qa::test {

template <class Player>
class PlayerFixture : public testing::Test {
  protected:
    std::unique_ptr<Player> load(const char* path) {
        testing::internal::CaptureStdout();
        auto player = std::make_unique<Player>(library, path);
        printed = testing::internal::GetCapturedStdout();
        return player;
    }
    std::string destroy(std::unique_ptr<Player>& player) {
        testing::internal::CaptureStdout();
        player.reset();
        return testing::internal::GetCapturedStdout();
    }

    RecordingSoundLibrary library;
    std::string printed;
};

}  // namespace qa::test
