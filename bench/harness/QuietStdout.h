// Standard output (the program's diagnostic lines) goes nowhere while an object of this class lives,
// so a harness's own report stays readable.
#pragma once

namespace qa::bench {

class QuietStdout {
  public:
    QuietStdout();
    ~QuietStdout();
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

  private:
    int saved_ = -1;
};

}  // namespace qa::bench
