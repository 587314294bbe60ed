// Lets a host (the headless runner) follow the run: frames starting and presented, shutdown.
#pragma once

namespace qa::app {

class FrameObserver {
  public:
    virtual ~FrameObserver() = default;
    // Before the clock is read for frame n (frames count from 1).
    virtual void frameStarting(int frame) { (void)frame; }
    // Right after frame n was presented.
    virtual void framePresented(int frame) { (void)frame; }
    // When the shutdown sequence begins.
    virtual void shuttingDown() {}
};

}  // namespace qa::app
