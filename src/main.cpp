// quorvart: the program itself. It plays a disk on the desktop; see desktop/DesktopProgram.h.
#include "desktop/DesktopProgram.h"

int main(int argc, char** argv) {
    return qa::desktop::DesktopProgram::run(argc, argv);
}
