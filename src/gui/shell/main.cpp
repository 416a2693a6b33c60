// The desktop program: everything lives in the application library.
#include "gui/shell/startup.h"

int main(int argc, char** argv) { return zemo_main(argc, argv); }
