// quorvart: the program itself. It takes no arguments and plays the disk in the working folder.
#include <cstdio>
#include <cstdlib>

int main() {
    std::fprintf(stderr, "quorvart: no display backend is built in yet\n");
    return 1;
}
